#pragma once
// The four signals of one impact on the 64 microsecond sample period: acceleration scaled from its
// codes, velocity and displacement integrated from sample 0 (no offset removal, no filtering), and
// force. Two number forms exist on purpose: the chart keeps the tester software's step-by-step
// single-precision sums, the exports use exact code sums and one double factor per value.
#include "ImpactRecord.h"

#include <array>
#include <cstdint>

namespace grx {

inline constexpr double kSamplePeriodS = 0.000064;

template <typename T>
struct SignalArrays {
  std::array<T, kSamplesPerSignal> time{};          // ms; the first sample at 0.064 ms
  std::array<T, kSamplesPerSignal> acceleration{};  // m/s² (or scaled codes in the raw-code view)
  std::array<T, kSamplesPerSignal> velocity{};      // m/s
  std::array<T, kSamplesPerSignal> displacement{};  // mm
  std::array<T, kSamplesPerSignal> force{};         // N (or codes in the raw-code view)
};

// The exact integer sums the exports build on: V[k] = A[0] + ... + A[k] (sample 0 included) and
// S[k] = V[0] + ... + V[k]. S can pass 32 bits for real records, so both are kept in 64 bits.
struct CodeSums {
  std::array<std::int64_t, kSamplesPerSignal> velocity{};
  std::array<std::int64_t, kSamplesPerSignal> displacement{};
};
CodeSums codeSums(const ImpactRecordView& record);

// kA = max(-acceleration minimum, acceleration maximum) / 32767.
double accelerationScale(const ImpactRecordView& record);
// kF = force full-scale value / 32767.
double forceScale(const ImpactRecordView& record);

// The chart's form: every value rounded to single precision after each step, in the order t, a, v,
// s, F. With rawCodes set, acceleration shows code × kC and force the bare codes; velocity and
// displacement are still integrated from the scaled acceleration.
SignalArrays<float> chartSignals(const ImpactRecordView& record, bool rawCodes = false);

// The exports' form: exact integer code sums times one double-precision factor per value.
SignalArrays<double> exportSignals(const ImpactRecordView& record);

}  // namespace grx
