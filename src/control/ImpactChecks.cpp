#include "ImpactChecks.h"

#include "data/DerivedSignals.h"

#include <cmath>
#include <cstdlib>

namespace grx {

double impactDurationMs(const ImpactRecordView& record) {
  // The force may be stored with either sign (the tester's sensor pushes the codes negative): the
  // peak is the sample of the largest magnitude, and the run keeps its sign.
  int peakAt = 0;
  int peak = 0;
  for (int i = 0; i < kSamplesPerSignal; ++i)
    if (const int f = std::abs(int(record.forceCode(i))); f > peak) peak = f, peakAt = i;
  if (peak == 0) return 0;
  const int sign = record.forceCode(peakAt) < 0 ? -1 : 1;
  // Compared in tenths so that no rounding decides: code * 10 > peak.
  const auto above = [&](int i) { return sign * record.forceCode(i) * 10 > peak; };
  int first = peakAt, last = peakAt;
  while (first > 0 && above(first - 1)) --first;
  while (last + 1 < kSamplesPerSignal && above(last + 1)) ++last;
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
