#include "ImpactChecks.h"

#include "data/DerivedSignals.h"

#include <cmath>

namespace grx {

double impactDurationMs(const ImpactRecordView& record) {
  int peakAt = 0;
  int peak = 0;
  for (int i = 0; i < kSamplesPerSignal; ++i)
    if (const int f = record.forceCode(i); f > peak) peak = f, peakAt = i;
  if (peak <= 0) return 0;
  // Compared in tenths so that no rounding decides: code * 10 > peak.
  int first = peakAt, last = peakAt;
  while (first > 0 && record.forceCode(first - 1) * 10 > peak) --first;
  while (last + 1 < kSamplesPerSignal && record.forceCode(last + 1) * 10 > peak) ++last;
  return (last - first + 1) * kSamplePeriodS * 1000.0;
}

ImpactFlags impactFlags(const ImpactRecordView& record, double durationMinMs, double durationMaxMs, double maxSv) {
  ImpactFlags flags;
  const double duration = impactDurationMs(record);
  flags.duration = duration < durationMinMs || duration > durationMaxMs;
  flags.nonFinite = !std::isfinite(record.dynamicModulus()) || !std::isfinite(record.staticModulus());
  const double sv = record.svRatio();
  flags.svAbove = maxSv >= 0 && std::isfinite(sv) && sv > maxSv;
  return flags;
}

}  // namespace grx
