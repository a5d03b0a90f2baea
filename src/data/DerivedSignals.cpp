#include "DerivedSignals.h"

#include <algorithm>
#include <cstdint>

namespace grx {

double accelerationScale(const ImpactRecordView& record) {
  return std::max(-double(record.accelMin()), double(record.accelMax())) / 32767.0;
}

double forceScale(const ImpactRecordView& record) { return double(record.forceFullScale()) / 32767.0; }

SignalArrays<float> chartSignals(const ImpactRecordView& record, bool rawCodes) {
  SignalArrays<float> out;
  const float kA = float(accelerationScale(record));
  const float kF = float(forceScale(record));
  float kC = 1.0f;
  if (rawCodes) {
    const double r = record.accelReference();
    if (r != 0.0)
      kC = float(std::max(-double(record.accelMin()) / (3.0 * r), double(record.accelMax()) / (3.0 * r)));
  }
  float t = 0, v = 0, s = 0;
  for (int i = 0; i < kSamplesPerSignal; ++i) {
    const int codeA = record.accelCode(i);
    t = float(double(t) + 0.064);
    const float a = float(double(codeA) * double(kA));
    v = float(double(v) + double(a) * kSamplePeriodS);
    s = float(double(s) + 1000.0 * kSamplePeriodS * double(v));
    out.time[i] = t;
    out.acceleration[i] = rawCodes ? float(double(codeA) * double(kC)) : a;
    out.velocity[i] = v;
    out.displacement[i] = s;
    out.force[i] = rawCodes ? float(record.forceCode(i)) : float(double(record.forceCode(i)) * double(kF));
  }
  return out;
}

CodeSums codeSums(const ImpactRecordView& record) {
  CodeSums sums;
  std::int64_t codeSum = 0;
  std::int64_t codeSumSum = 0;
  for (int i = 0; i < kSamplesPerSignal; ++i) {
    codeSum += record.accelCode(i);
    codeSumSum += codeSum;
    sums.velocity[i] = codeSum;
    sums.displacement[i] = codeSumSum;
  }
  return sums;
}

SignalArrays<double> exportSignals(const ImpactRecordView& record) {
  SignalArrays<double> out;
  const double kA = accelerationScale(record);
  const double kF = forceScale(record);
  const double velocityFactor = kSamplePeriodS * kA;
  const double displacementFactor = 1000.0 * kSamplePeriodS * kSamplePeriodS * kA;
  const CodeSums sums = codeSums(record);
  for (int i = 0; i < kSamplesPerSignal; ++i) {
    const int codeA = record.accelCode(i);
    out.time[i] = 0.064 * (i + 1);
    out.acceleration[i] = codeA * kA;
    out.velocity[i] = velocityFactor * double(sums.velocity[i]);
    out.displacement[i] = displacementFactor * double(sums.displacement[i]);
    out.force[i] = record.forceCode(i) * kF;
  }
  return out;
}

}  // namespace grx
