#include "views/ChartRules.h"

#include <gtest/gtest.h>

namespace grx {
namespace {

constexpr std::uint32_t kBlack = 0x000000, kGreen = 0x008000, kRed = 0xFF0000, kNavy = 0x000080;

TEST(ChartRules, FullViewAxisAssignmentForEveryCombination) {
  struct Case {
    bool a, v, s, f;
    const char* left;  // curves on the left axis, in A V S F order
    const char* right;
    const char* leftTitle;
    std::uint32_t leftColor;
    const char* rightTitle;
    std::uint32_t rightColor;
    bool rightVisible;
  };
  const char* acc = "Vibroacceleration, m/s2";
  const Case cases[] = {
      {1, 1, 1, 1, "A", "VSF", acc, kBlack, "Vibrovelocity, m/s; Vibrodisplacement, mm; Impact force, kN", kRed, true},
      {1, 1, 1, 0, "A", "VS", acc, kBlack, "Vibrovelocity, m/s; Vibrodisplacement, mm", kRed, true},
      {1, 1, 0, 1, "A", "VF", acc, kBlack, "Vibrovelocity, m/s; Impact force, kN", kGreen, true},
      {1, 1, 0, 0, "A", "V", acc, kBlack, "Vibrovelocity, m/s", kGreen, true},
      {1, 0, 1, 1, "A", "SF", acc, kBlack, "Vibrodisplacement, mm; Impact force, kN", kRed, true},
      {1, 0, 1, 0, "A", "S", acc, kBlack, "Vibrodisplacement, mm", kRed, true},
      {1, 0, 0, 1, "A", "F", acc, kBlack, "Impact force, kN", kNavy, true},
      {1, 0, 0, 0, "A", "", acc, kBlack, "", kBlack, false},
      {0, 1, 1, 1, "AVS", "F", "Vibrovelocity, m/s; Vibrodisplacement, mm", kRed, "Impact force, kN", kNavy, true},
      {0, 1, 1, 0, "AV", "S", "Vibrovelocity, m/s", kGreen, "Vibrodisplacement, mm", kRed, true},
      {0, 1, 0, 1, "AV", "F", "Vibrovelocity, m/s", kGreen, "Impact force, kN", kNavy, true},
      {0, 1, 0, 0, "AV", "", "Vibrovelocity, m/s", kGreen, "", kBlack, false},
      {0, 0, 1, 1, "AS", "F", "Vibrodisplacement, mm", kRed, "Impact force, kN", kNavy, true},
      {0, 0, 1, 0, "AS", "", "Vibrodisplacement, mm", kRed, "", kBlack, false},
      {0, 0, 0, 1, "AF", "", "Impact force, kN", kNavy, "", kBlack, false},
      {0, 0, 0, 0, "A", "", "", kBlack, "", kBlack, false},
  };
  for (const Case& c : cases) {
    const AxisPlan plan = planAxes({c.a, c.v, c.s, c.f}, false, Language::English);
    std::string left, right;
    for (int k = 0; k < 4; ++k) {
      if (!plan.onLeft[k]) continue;
      (*plan.onLeft[k] ? left : right) += "AVSF"[k];
    }
    const std::string what = std::string() + char('0' + c.a) + char('0' + c.v) + char('0' + c.s) + char('0' + c.f);
    EXPECT_EQ(left, c.left) << what;
    EXPECT_EQ(right, c.right) << what;
    EXPECT_EQ(plan.left.text, QString::fromUtf8(c.leftTitle)) << what;
    EXPECT_EQ(plan.left.color, c.leftColor) << what;
    EXPECT_EQ(plan.right.text, QString::fromUtf8(c.rightTitle)) << what;
    EXPECT_EQ(plan.right.color, c.rightColor) << what;
    EXPECT_EQ(plan.rightVisible, c.rightVisible) << what;
  }
}

TEST(ChartRules, ReducedViewKeepsDisplacementLeftAndForceRight) {
  const AxisPlan both = planAxes({false, false, true, true}, true, Language::Russian);
  EXPECT_EQ(both.left.text, QStringLiteral("Виброперемещение, мм"));
  EXPECT_EQ(both.left.color, kRed);
  EXPECT_EQ(both.right.text, QStringLiteral("Сила удара, кН"));
  EXPECT_EQ(both.right.color, kNavy);
  EXPECT_TRUE(both.rightVisible);
  EXPECT_TRUE(*both.onLeft[CurveS]);
  const AxisPlan noDisplacement = planAxes({false, false, false, true}, true, Language::Russian);
  EXPECT_TRUE(noDisplacement.left.text.isEmpty());
  EXPECT_TRUE(noDisplacement.rightVisible);
  EXPECT_FALSE(planAxes({false, false, true, false}, true, Language::Russian).rightVisible);
  EXPECT_EQ(timeAxisTitle(Language::Russian), QStringLiteral("Время, мс"));
}

TEST(ChartRules, VerticalAxisRanges) {
  struct Case {
    bool autoMode, plus;
    double smallest, storedMin, storedMax;
    double lower, upper;
  };
  const Case cases[] = {
      {true, false, -0.6, -0.5, 0, -0.63, 0},         // signal span, cut at 0
      {true, true, -0.6, -0.5, 0, -0.63, 0.63},       // mirrored above 0
      {true, false, 2.0, -0.5, 0, -0.01, 0},          // all positive: just below 0
      {true, false, 0.0, -0.5, 0, 0, 0},              // zero line only
      {false, false, -0.6, -2, 7, -2, 0},             // stored minimum, upper 0 without "Plus"
      {false, true, -0.6, -2, 7, -2, 7},              // stored both with "Plus"
      {false, false, -0.6, 3, 7, -0.01, 0},           // stored minimum above the upper limit
  };
  for (const Case& c : cases) {
    const AxisRange r = verticalAxisRange(c.autoMode, c.plus, c.smallest, c.storedMin, c.storedMax);
    EXPECT_NEAR(r.lower, c.lower, 1e-12) << c.autoMode << c.plus << c.smallest;
    EXPECT_NEAR(r.upper, c.upper, 1e-12) << c.autoMode << c.plus << c.smallest;
  }
}

TEST(ChartRules, LabelStepsAndSampleCounts) {
  struct Case {
    double range, step;
  };
  for (const Case& c : {Case{0.0399, 0.001}, Case{0.04, 0.01}, Case{0.39, 0.01}, Case{0.4, 0.1}, Case{3.9, 0.1},
                        Case{4, 1}, Case{39, 1}, Case{40, 10}, Case{65536, 10}})
    EXPECT_EQ(labelStep(c.range), c.step) << c.range;
  EXPECT_EQ(chartSampleCount(BottomAxisMode::Ms20), 312);
  EXPECT_EQ(chartSampleCount(BottomAxisMode::Ms32), 512);
  EXPECT_EQ(chartSampleCount(BottomAxisMode::Auto), 312);
}

TEST(ChartRules, ChartDataTextOfDisplacementAndForce) {
  std::array<CurvePoints, 4> curves;
  curves[CurveS] = {true, {0.064, 0.128}, {1.5, -0.25}};
  curves[CurveF] = {true, {0.064, 0.128}, {-7.07, -7.1}};
  curves[CurveA] = {false, {0.064}, {99}};
  EXPECT_EQ(chartDataText(curves, Language::Russian),
            QStringLiteral("\r\nВремя, мс\tВиброперемещение\tСила удара\t\r\n"
                           "0,064\t1,5000\t-7,0700\t\r\n"
                           "0,128\t-0,2500\t-7,1000\t\r\n"));
  curves[CurveS].takesPart = curves[CurveF].takesPart = false;
  EXPECT_TRUE(chartDataText(curves, Language::English).isEmpty());
  curves[CurveV] = {true, {}, {}};
  EXPECT_TRUE(chartDataText(curves, Language::English).isEmpty());
}

}  // namespace
}  // namespace grx
