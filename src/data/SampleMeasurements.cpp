#include "SampleMeasurements.h"

#include "DerivedSignals.h"
#include "TextForms.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace grx {
namespace {

// A small generator of our own, so the samples do not depend on a library's distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double uniform(double low, double high) { return low + (high - low) * double(next() >> 11) * 0x1.0p-53; }
  int between(int low, int high) { return low + int(next() % std::uint64_t(high - low + 1)); }

 private:
  std::uint64_t state_;
};

constexpr int kPreTriggerSamples = 8;
constexpr float kForceFullScaleN = 25000.0f;
constexpr float kAccelReference = 50.0f;

// Names the tester offers by default (Russian lists); index 0 "Не выбран" is skipped.
const char* const kSoils[] = {"Песок", "Супесь", "Суглинок", "Глина", "Грунт - 1", "Грунт - 2"};
const char* const kObjects[] = {"Подстилающий грунт", "Грунтовое основание", "Несущий слой", "Поверхностный слой",
                                "Объект 1"};

struct Clock {
  int year = 26, month = 5, day = 12, hours = 8, minutes = 30, seconds = 0;

  void advance(int s) {
    seconds += s;
    minutes += seconds / 60;
    seconds %= 60;
    hours += minutes / 60;
    minutes %= 60;
    day += hours / 24;
    hours %= 24;
    while (day > 28) {
      day -= 28;
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
  }
  void write(std::uint8_t* r) const {
    r[rec::Seconds] = std::uint8_t(seconds);
    r[rec::Minutes] = std::uint8_t(minutes);
    r[rec::Hours] = std::uint8_t(hours);
    r[rec::Day] = std::uint8_t(day);
    r[rec::Month] = std::uint8_t(month);
    r[rec::Year] = std::uint8_t(year);
  }
};

// Degrees and minutes as the tester's coordinate word: (deg*100 + min) << 16 | fraction of a minute.
std::int32_t coordinateWord(double degreesDecimal) {
  const double magnitude = std::fabs(degreesDecimal);
  const int degrees = int(magnitude);
  const double minutes = (magnitude - degrees) * 60.0;
  const int wholeMinutes = int(minutes);
  const auto fraction = std::uint32_t((minutes - wholeMinutes) * 65536.0) & 0xFFFFu;
  const std::int32_t word = std::int32_t((std::uint32_t(degrees * 100 + wholeMinutes) << 16) | fraction);
  return degreesDecimal < 0 ? -word : word;
}

}  // namespace

void writeSampleImpact(std::uint8_t* r, const SamplePulse& pulse, std::uint32_t noiseSeed) {
  Random random(noiseSeed);
  double a[kSamplesPerSignal];
  double f[kSamplesPerSignal];
  const double w = 2.0 * std::numbers::pi / pulse.durationMs;
  // s(t) = -S (1 - cos wt) / 2  =>  a(t) = -S w² cos(wt) / 2, in mm/ms² = 1000 m/s².
  const double peakAccel = pulse.displacementMm * w * w / 2.0 * 1000.0;
  for (int i = 0; i < kSamplesPerSignal; ++i) {
    const double t = (i - kPreTriggerSamples) * 0.064;
    const bool inPulse = t >= 0 && t <= pulse.durationMs;
    const double noise = noiseSeed ? random.uniform(-0.004, 0.004) : 0.0;
    a[i] = (inPulse ? -peakAccel * std::cos(w * t) : 0.0) + noise * peakAccel;
    f[i] = inPulse ? -pulse.forceN * std::sin(std::numbers::pi * t / pulse.durationMs) : 0.0;
    f[i] += noiseSeed ? random.uniform(-0.002, 0.002) * pulse.forceN : 0.0;
  }
  const double accelMin = *std::min_element(a, a + kSamplesPerSignal);
  const double accelMax = *std::max_element(a, a + kSamplesPerSignal);
  const double kA = std::max(-accelMin, accelMax) / 32767.0;
  const double kF = kForceFullScaleN / 32767.0;
  for (int i = 0; i < kSamplesPerSignal; ++i) {
    const auto codeA = std::int16_t(std::clamp(std::lround(a[i] / kA), -32767l, 32767l));
    const auto codeF = std::int16_t(std::clamp(std::lround(f[i] / kF), -32767l, 32767l));
    writeI16(r + rec::AccelSamples + 2 * i, codeA);
    writeI16(r + rec::ForceSamples + 2 * i, codeF);
  }
  writeF32(r + rec::AccelMin, float(accelMin));
  writeF32(r + rec::AccelMax, float(accelMax));
  writeF32(r + rec::AccelReference, kAccelReference);
  writeF32(r + rec::ForceFullScale, kForceFullScaleN);

  // The tester's own results: peaks of the integrated signals and the moduli derived from them.
  const SignalArrays<double> s = exportSignals(ImpactRecordView(r));
  const double vMin = *std::min_element(s.velocity.begin(), s.velocity.end());
  const double vMax = *std::max_element(s.velocity.begin(), s.velocity.end());
  const double sMax = -*std::min_element(s.displacement.begin(), s.displacement.end());
  writeF32(r + rec::VelocityMin, float(vMin));
  writeF32(r + rec::VelocityMax, float(vMax));
  writeF32(r + rec::Displacement, float(sMax));
  writeF32(r + rec::ImpactForce, float(pulse.forceN));
  // Evd = 1.5 · r · σ / s for a 300 mm plate under 0.1 MPa: 22.5 / s(mm) MPa.
  const double dynamic = sMax > 0 ? 22.5 / sMax : 0.0;
  writeF32(r + rec::DynamicModulus, float(dynamic));
}

void generateSampleMeasurements(MeasurementSet& set, int impacts, std::uint32_t seed) {
  const auto n = std::uint32_t(std::clamp(impacts, 0, kMaxRecords));
  Random random(seed);
  std::memset(set.directory(), 0xFF, kDirectorySize);
  std::memset(set.recordStore(), 0, std::size_t(n) * kRecordSize);
  set.clear();

  Clock clock;
  std::uint32_t seriesNumber = std::uint32_t(random.between(1, 40));
  double latitude = 55.75 + random.uniform(-0.05, 0.05);
  double longitude = 37.62 + random.uniform(-0.05, 0.05);
  std::uint32_t i = 0;
  while (i < n) {
    const int length = std::min<int>(random.between(3, 8), int(n - i));
    const double baseDisplacement = random.uniform(0.22, 0.95);
    const double staticRatio = random.uniform(1.6, 2.4);
    const double duration = random.uniform(16.5, 19.0);
    const char* soil = kSoils[random.between(0, 5)];
    const char* object = kObjects[random.between(0, 4)];
    const bool hasFix = random.between(0, 9) != 0;
    latitude += random.uniform(-0.002, 0.002);
    longitude += random.uniform(-0.003, 0.003);
    clock.advance(random.between(7, 25) * 60);
    for (int j = 0; j < length; ++j, ++i) {
      std::uint8_t* r = set.record(i);
      std::uint8_t* entry = set.directory() + i * kDirectoryEntrySize;
      writeU16(entry, std::uint16_t(512 + i));
      entry[2] = 0x00;
      entry[3] = std::uint8_t(i * 7);
      writeU32(r, i);  // the tester's own bookkeeping, kept unchanged
      writeU32(r + rec::NumberWord, (seriesNumber << 4) | std::uint32_t(j + 1));
      clock.write(r);
      clock.advance(random.between(15, 40));
      writeNameField(r + rec::SoilName, QString::fromUtf8(soil));
      writeNameField(r + rec::ObjectName, QString::fromUtf8(object));
      SamplePulse pulse;
      pulse.displacementMm = baseDisplacement * random.uniform(0.94, 1.06);
      pulse.durationMs = duration * random.uniform(0.98, 1.02);
      pulse.forceN = 7070.0 * random.uniform(0.985, 1.015);
      writeSampleImpact(r, pulse, std::uint32_t(random.next() | 1u));
      writeF32(r + rec::StaticModulus, readF32(r + rec::DynamicModulus) * float(staticRatio * random.uniform(0.97, 1.03)));
      const double jitter = random.uniform(-0.00002, 0.00002);
      writeI32(r + rec::Latitude, hasFix ? coordinateWord(latitude + jitter) : 0);
      writeI32(r + rec::Longitude, hasFix ? coordinateWord(longitude + jitter) : 0);
    }
    seriesNumber += std::uint32_t(random.between(1, 2));
  }
  set.setCount(n);
  set.buildSeries();
}

}  // namespace grx
