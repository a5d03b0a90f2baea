#pragma once
// The one measurement set of the program: the tester's record directory, the impact records in
// tester order, and the division of the impacts into series. Storage is sized once for the largest
// set that can occur, so a read or an open never allocates per record.
#include "ImpactRecord.h"

#include <array>
#include <cstdint>
#include <vector>

namespace grx {

inline constexpr int kDirectoryEntrySize = 4;
inline constexpr int kMaxRecords = 3557;                                  // a project file may hold this many
inline constexpr int kMaxReadImpacts = 3556;                              // a data read yields at most this many
inline constexpr int kDirectorySize = kMaxRecords * kDirectoryEntrySize;  // 14228 bytes

// Impacts start..start+length-1 that share one series number.
struct SeriesRun {
  std::uint32_t first = 0;
  std::uint32_t length = 0;
};

struct SeriesSummary {
  std::uint32_t seriesNumber = 0;
  std::uint32_t runLength = 0;  // the length shown after "/" in the label
  double meanDynamicModulus = 0;
  double meanStaticModulus = 0;
  double svRatio = 0;
};

// Counts the leading directory entries in use (entry word >= 512, flag bit 7 clear), at most
// kMaxReadImpacts, looking only at the first `availableBytes` bytes of the directory.
std::uint32_t countImpacts(const std::uint8_t* directory, int availableBytes = kDirectorySize);

class MeasurementSet {
 public:
  MeasurementSet();

  std::uint32_t count() const { return count_; }
  bool isEmpty() const { return count_ == 0; }

  std::uint8_t* directory() { return directory_.data(); }
  const std::uint8_t* directory() const { return directory_.data(); }

  std::uint8_t* record(std::uint32_t i) { return store_.data() + std::size_t(i) * kRecordSize; }
  const std::uint8_t* record(std::uint32_t i) const { return store_.data() + std::size_t(i) * kRecordSize; }
  ImpactRecordView view(std::uint32_t i) const { return ImpactRecordView(record(i)); }
  std::uint8_t* recordStore() { return store_.data(); }
  const std::uint8_t* recordStore() const { return store_.data(); }

  // Sets the impact count (clamped to the capacity). The series list is not rebuilt.
  void setCount(std::uint32_t n);

  // Empties the set: n = 0, S = 0, current record zero, current index 0.
  void clear();

  // Derives the series start list from the records: a record whose series number differs from the
  // first record of the series being built opens a new series.
  void buildSeries();

  std::uint32_t seriesCount() const { return std::uint32_t(starts_.size() > 0 ? starts_.size() - 1 : 0); }
  // start[k] for 0 <= k <= S.
  std::uint32_t seriesStart(std::uint32_t k) const { return starts_[k]; }
  std::uint32_t seriesLength(std::uint32_t k) const { return starts_[k + 1] - starts_[k]; }
  const std::vector<std::uint32_t>& seriesStarts() const { return starts_; }

  // The run of impacts around i that share its series number.
  SeriesRun seriesRun(std::uint32_t i) const;
  SeriesSummary seriesSummary(std::uint32_t k) const;

  // -displacement / velocity minimum of impact i; not finite when the velocity minimum is 0.
  double impactSvRatio(std::uint32_t i) const;

  // Copies record i into the current impact record when i < n; otherwise changes nothing.
  bool selectImpact(std::uint32_t i);
  const std::uint8_t* currentRecord() const { return current_.data(); }
  ImpactRecordView currentView() const { return ImpactRecordView(current_.data()); }

  std::uint32_t currentIndex() const { return currentIndex_; }
  void setCurrentIndex(std::uint32_t i) { currentIndex_ = i; }

  // Editing. Records keep their order and content, the directory is untouched, and the series
  // start list is built again from the remaining records, exactly as opening the saved file would
  // build it (so two series with the same number that become neighbours are one series).
  // Removes `count` impacts of series k from position p on (p counted from 0 within the series).
  void removeImpacts(std::uint32_t k, std::uint32_t p, std::uint32_t count);
  // Removes the series first..last (inclusive) in one piece.
  void removeSeries(std::uint32_t first, std::uint32_t last);

  // Changes since the last open or save: a read not yet saved or an edit. The edits set it, whoever
  // hands over a read sets it, an open, a save and clear() clear it.
  bool isModified() const { return modified_; }
  void setModified(bool modified) { modified_ = modified; }
  // Whether ending now would lose measurements that a save could keep (an empty set is never saved).
  bool hasUnsavedData() const { return modified_ && count_ > 0; }

  // Exchanges the whole content with another set (no copying of the stores).
  void swap(MeasurementSet& other) noexcept;

  // A number that no other content of any set had: it changes with every edit, clear and swap, so
  // a question answered for one content ("replace it?") is not taken for another.
  std::uint64_t revision() const { return revision_; }

 private:
  void removeRecords(std::uint32_t first, std::uint32_t count);

  std::vector<std::uint8_t> directory_;
  std::vector<std::uint8_t> store_;
  std::vector<std::uint32_t> starts_;  // empty when S = 0, else S + 1 entries
  std::array<std::uint8_t, kRecordSize> current_{};
  std::uint32_t count_ = 0;
  std::uint32_t currentIndex_ = 0;
  bool modified_ = false;
  std::uint64_t revision_ = nextRevision();

  static std::uint64_t nextRevision();
};

}  // namespace grx
