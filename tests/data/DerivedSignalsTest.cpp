#include "data/DerivedSignals.h"

#include "support/RecordBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace grx {
namespace {

using test::RecordBuilder;

TEST(DerivedSignals, AccelerationScaleTakesTheLargerPeakOver32767) {
  struct Case {
    float min, max;
    double expected;
  };
  for (const Case& c : {Case{-20, 10, 20.0 / 32767}, Case{-5, 10, 10.0 / 32767}, Case{0, 0, 0}}) {
    RecordBuilder r;
    r.peaks(c.min, c.max, 0, 0);
    EXPECT_DOUBLE_EQ(accelerationScale(ImpactRecordView(r.bytes())), c.expected);
  }
}

TEST(DerivedSignals, ConstantCodesIntegrateLinearly) {
  RecordBuilder r;
  r.peaks(-20, 10, 0, 0).accelCodes(100);
  const ImpactRecordView view(r.bytes());
  const double kA = 20.0 / 32767;
  const auto e = exportSignals(view);
  const auto c = chartSignals(view);
  for (int i : {0, 1, 100, 311, 511}) {
    const double v = 0.000064 * kA * 100 * (i + 1);
    EXPECT_NEAR(e.velocity[i], v, 1e-15) << i;
    EXPECT_NEAR(c.velocity[i], v, 2e-5 * std::fabs(v)) << i;  // single-precision steps drift a little
    EXPECT_DOUBLE_EQ(e.acceleration[i], 100 * kA);
    EXPECT_DOUBLE_EQ(e.time[i], 0.064 * (i + 1));
    EXPECT_NEAR(c.time[i], 0.064 * (i + 1), 1e-3) << i;
  }
  // the chart accumulates its time axis step by step, as the tester software does
  EXPECT_NE(c.time[511], float(0.064 * 512));
  EXPECT_NEAR(e.displacement[0], 1000 * 0.000064 * e.velocity[0], 1e-18);
  EXPECT_NEAR(c.displacement[0], 1000 * 0.000064 * c.velocity[0], 1e-12);
  // s[i] = 1000 · 0.000064² · kA · c · (i+1)(i+2)/2
  EXPECT_NEAR(e.displacement[511], 1000 * 0.000064 * 0.000064 * kA * 100 * 512.0 * 513.0 / 2, 1e-12);
}

TEST(DerivedSignals, ExportSumsStayExactWhereThirtyTwoBitsWouldOverflow) {
  RecordBuilder r;
  r.peaks(-1, 1, 0, 0).accelCodes(32767);
  const auto e = exportSignals(ImpactRecordView(r.bytes()));
  // the sum of code sums reaches 32767 · 512 · 513 / 2 ≈ 4.3e9, beyond a signed 32-bit number
  const double expected = 1000 * 0.000064 * 0.000064 * (1.0 / 32767) * (32767.0 * 512 * 513 / 2);
  EXPECT_NEAR(e.displacement[511], expected, 1e-12);
  EXPECT_GT(e.displacement[511], 0);
}

TEST(DerivedSignals, ForceIsScaledByItsFullScale) {
  RecordBuilder r;
  r.f32(rec::ForceFullScale, 20000).forceCode(0, 32767).forceCode(1, -16384);
  const ImpactRecordView view(r.bytes());
  const auto e = exportSignals(view);
  const auto c = chartSignals(view);
  EXPECT_DOUBLE_EQ(e.force[0], 20000);
  EXPECT_NEAR(e.force[1], -16384 * 20000.0 / 32767, 1e-9);
  EXPECT_FLOAT_EQ(c.force[0], 20000);
}

TEST(DerivedSignals, RawCodeViewScalesOnlyTheCurvesItShows) {
  struct Case {
    float reference;
    float min, max;
    double kC;
  };
  for (const Case& k : {Case{0, -60, 30, 1.0}, Case{10, -60, 30, 2.0}, Case{10, -15, 90, 3.0}}) {
    RecordBuilder r;
    r.f32(rec::AccelReference, k.reference).peaks(k.min, k.max, 0, 0).accelCodes(50).forceCode(3, -1234);
    const ImpactRecordView view(r.bytes());
    const auto raw = chartSignals(view, true);
    const auto scaled = chartSignals(view, false);
    EXPECT_FLOAT_EQ(raw.acceleration[7], float(50 * k.kC)) << k.reference;
    EXPECT_FLOAT_EQ(raw.force[3], -1234.0f);
    EXPECT_EQ(raw.velocity, scaled.velocity);
    EXPECT_EQ(raw.displacement, scaled.displacement);
  }
}

TEST(DerivedSignals, ChartAndExportFormsAgreeOnARealisticPulse) {
  RecordBuilder r;
  r.peaks(-30, 30, 0, 0);
  for (int i = 0; i < kSamplesPerSignal; ++i)
    r.accelCode(i, std::int16_t(i < 280 ? -32767 * std::cos(2 * 3.14159265 * i / 280) : 0));
  const ImpactRecordView view(r.bytes());
  const auto e = exportSignals(view);
  const auto c = chartSignals(view);
  double peak = 0;
  for (int i = 0; i < kSamplesPerSignal; ++i) peak = std::max(peak, std::fabs(e.displacement[i]));
  ASSERT_GT(peak, 0.1);  // a plausible fraction of a millimetre
  for (int i = 0; i < kSamplesPerSignal; ++i) EXPECT_NEAR(c.displacement[i], e.displacement[i], 1e-4 * peak) << i;
}

}  // namespace
}  // namespace grx
