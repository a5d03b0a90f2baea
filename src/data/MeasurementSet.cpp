#include "MeasurementSet.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

namespace grx {

std::uint32_t countImpacts(const std::uint8_t* directory, int availableBytes) {
  const int entries = std::min(std::max(availableBytes, 0) / kDirectoryEntrySize, kMaxReadImpacts);
  std::uint32_t n = 0;
  for (int i = 0; i < entries; ++i) {
    const std::uint8_t* e = directory + i * kDirectoryEntrySize;
    const bool inUse = readU16(e) >= 512 && (e[2] & 0x80) == 0;
    if (!inUse) break;
    ++n;
  }
  return n;
}

MeasurementSet::MeasurementSet()
    : directory_(kDirectorySize, 0), store_(std::size_t(kMaxRecords) * kRecordSize, 0) {
  starts_.reserve(kMaxRecords + 1);
}

void MeasurementSet::setCount(std::uint32_t n) { count_ = std::min<std::uint32_t>(n, kMaxRecords); }

void MeasurementSet::clear() {
  count_ = 0;
  starts_.clear();
  current_.fill(0);
  currentIndex_ = 0;
  modified_ = false;
  revision_ = nextRevision();
}

void MeasurementSet::buildSeries() {
  starts_.clear();
  if (count_ == 0) return;
  starts_.push_back(0);
  std::uint32_t currentSeries = view(0).seriesNumber();
  for (std::uint32_t i = 1; i < count_; ++i) {
    const std::uint32_t s = view(i).seriesNumber();
    if (s != currentSeries) {
      starts_.push_back(i);
      currentSeries = s;
    }
  }
  starts_.push_back(count_);
}

SeriesRun MeasurementSet::seriesRun(std::uint32_t i) const {
  if (i >= count_) return {i, 0};
  const std::uint32_t s = view(i).seriesNumber();
  std::uint32_t first = i;
  while (first > 0 && view(first - 1).seriesNumber() == s) --first;
  std::uint32_t last = i;
  while (last + 1 < count_ && view(last + 1).seriesNumber() == s) ++last;
  return {first, last - first + 1};
}

SeriesSummary MeasurementSet::seriesSummary(std::uint32_t k) const {
  SeriesSummary summary;
  const std::uint32_t a = starts_[k];
  const std::uint32_t b = starts_[k + 1];
  summary.seriesNumber = view(a).seriesNumber();
  summary.runLength = seriesRun(a).length;
  // The tester's own software sums in single precision; keeping that makes the means agree with
  // the values shown on the tester to the last printed digit.
  float dyn = 0, stat = 0, disp = 0, vel = 0;
  for (std::uint32_t i = a; i < b; ++i) {
    const ImpactRecordView r = view(i);
    dyn += r.dynamicModulus();
    stat += r.staticModulus();
    disp += r.displacement();
    vel += r.velocityMin();
  }
  const double c = double(b - a);
  summary.meanDynamicModulus = double(dyn) / c;
  summary.meanStaticModulus = double(stat) / c;
  summary.svRatio = vel != 0.0f ? std::abs(double(disp) / double(vel)) : 0.0;
  return summary;
}

double MeasurementSet::impactSvRatio(std::uint32_t i) const { return view(i).svRatio(); }

bool MeasurementSet::selectImpact(std::uint32_t i) {
  if (i >= count_) return false;
  std::memcpy(current_.data(), record(i), kRecordSize);
  return true;
}

void MeasurementSet::removeRecords(std::uint32_t first, std::uint32_t count) {
  if (first >= count_ || count == 0) return;
  count = std::min(count, count_ - first);
  std::uint8_t* to = record(first);
  const std::uint8_t* from = record(first + count);
  std::memmove(to, from, std::size_t(count_ - first - count) * kRecordSize);
  count_ -= count;
  modified_ = true;
  revision_ = nextRevision();
  buildSeries();
}

void MeasurementSet::removeImpacts(std::uint32_t k, std::uint32_t p, std::uint32_t count) {
  if (k >= seriesCount() || p >= seriesLength(k)) return;
  removeRecords(starts_[k] + p, std::min(count, seriesLength(k) - p));
}

void MeasurementSet::removeSeries(std::uint32_t first, std::uint32_t last) {
  if (first > last || first >= seriesCount()) return;
  last = std::min(last, seriesCount() - 1);
  removeRecords(starts_[first], starts_[last + 1] - starts_[first]);
}

void MeasurementSet::swap(MeasurementSet& other) noexcept {
  directory_.swap(other.directory_);
  store_.swap(other.store_);
  starts_.swap(other.starts_);
  std::swap(current_, other.current_);
  std::swap(count_, other.count_);
  std::swap(currentIndex_, other.currentIndex_);
  std::swap(modified_, other.modified_);
  revision_ = nextRevision();
  other.revision_ = nextRevision();
}

std::uint64_t MeasurementSet::nextRevision() {
  static std::atomic<std::uint64_t> counter{0};
  return ++counter;
}

}  // namespace grx
