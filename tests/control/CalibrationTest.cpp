// Site calibrations: the fit against a certified reference regression, Student's t against printed
// tables, a power law and derived requirements worked out by hand, and every refusal.
#include "control/Calibration.h"
#include "control/Requirements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace grx {
namespace {

QList<CalibrationPair> pairsOf(std::initializer_list<std::pair<double, double>> xy) {
  QList<CalibrationPair> pairs;
  for (const auto& [x, y] : xy) pairs.append({x, y});
  return pairs;
}

void expectRelative(double actual, double expected, double tolerance) {
  EXPECT_NEAR(actual, expected, std::abs(expected) * tolerance) << "expected " << expected;
}

// NIST StRD linear regression "Norris" (36 observations) with its certified values.
TEST(Calibration, TheLinearFitReproducesTheCertifiedNorrisRegression) {
  const double y[] = {0.1,   338.8, 118.1, 888.0, 9.2,   228.1, 668.5, 998.5, 449.1, 778.9, 559.2, 0.3,
                      0.1,   778.1, 668.8, 339.3, 448.9, 10.8,  557.7, 228.3, 998.0, 888.8, 119.6, 0.3,
                      0.6,   557.6, 339.3, 888.0, 998.5, 778.9, 10.2,  117.6, 228.9, 668.4, 449.2, 0.2};
  const double x[] = {0.2,   337.4, 118.2, 884.6, 10.1,  226.5, 666.3, 996.3, 448.6, 777.0, 558.2, 0.4,
                      0.6,   775.5, 666.9, 338.0, 447.5, 11.6,  556.0, 228.1, 995.8, 887.6, 120.2, 0.3,
                      0.3,   556.8, 339.1, 887.2, 999.0, 779.0, 11.1,  118.3, 229.2, 669.1, 448.9, 0.5};
  QList<CalibrationPair> pairs;
  for (int i = 0; i < 36; ++i) pairs.append({x[i], y[i]});
  const FitOutcome out = fitCalibration(pairs, CalibrationModel::Linear, 0.9);
  ASSERT_TRUE(out.ok());
  expectRelative(out.fit.a, -0.262323073774029, 1e-9);
  expectRelative(out.fit.b, 1.00211681802045, 1e-9);
  expectRelative(out.fit.seIntercept, 0.232818234301152, 1e-9);
  expectRelative(out.fit.seSlope, 0.429796848199937e-03, 1e-9);
  expectRelative(out.fit.s, 0.884796396144373, 1e-9);
  expectRelative(out.fit.r2, 0.999993745883712, 1e-9);
  EXPECT_EQ(out.fit.n, 36);
  EXPECT_DOUBLE_EQ(out.fit.xMin, 0.2);
  EXPECT_DOUBLE_EQ(out.fit.xMax, 999.0);
}

// One-sided quantiles as printed tables of Student's t give them (three decimals).
TEST(Calibration, TheTQuantileMatchesPrintedTables) {
  const struct {
    double probability;
    int df;
    double printed;
  } cases[] = {{0.80, 3, 0.978}, {0.90, 3, 1.638}, {0.90, 10, 1.372}, {0.95, 5, 2.015},
               {0.975, 20, 2.086}, {0.99, 30, 2.457}, {0.95, 120, 1.658}};
  for (const auto& c : cases) EXPECT_NEAR(studentQuantile(c.probability, c.df), c.printed, 5e-4) << c.probability << " " << c.df;
}

// y = 2x with residuals +1, −2, 0, +2, −1 (summing to 0 and uncorrelated with x): a = 0, b = 2,
// s = √(10/3), Sxx = 1000, R² = 1 − 10/4010; t(0.90, 3) = 1.6377444.
TEST(Calibration, ALinearFitItsBoundAndADerivedRequirementWorkedByHand) {
  const FitOutcome out = fitCalibration(pairsOf({{10, 21}, {20, 38}, {30, 60}, {40, 82}, {50, 99}}), CalibrationModel::Linear, 0.9);
  ASSERT_TRUE(out.ok());
  const CalibrationFit& f = out.fit;
  EXPECT_NEAR(f.a, 0, 1e-12);
  EXPECT_NEAR(f.b, 2, 1e-12);
  expectRelative(f.s, 1.825741858, 1e-9);
  expectRelative(f.r2, 0.9975062344, 1e-9);
  expectRelative(f.estimate(30), 60, 1e-12);
  // 60 − 1.6377444 · 1.8257419 · √1.2
  expectRelative(f.lowerBound(30), 56.72451129, 1e-8);
  // 2x − 2.9900950 · √(1.2 + (x − 30)²/1000) = 60
  expectRelative(derivedDynamic(f, 60).value_or(0), 31.63957775, 1e-8);
  // Below the bound at the smallest x the requirement is met from there on; above its top never.
  EXPECT_DOUBLE_EQ(derivedDynamic(f, 10).value_or(0), 10);
  EXPECT_FALSE(derivedDynamic(f, 97));
}

// ln y = ln 2 + 0.5 ln x + r at ln x = 1 … 5 with r = 0.1, −0.2, 0, 0.2, −0.1: a = 2, b = 0.5,
// s = √(0.1/3), R² = 1 − 0.1/2.6 in the logarithms.
TEST(Calibration, APowerLawItsBoundAndADerivedRequirementWorkedByHand) {
  const FitOutcome out = fitCalibration(pairsOf({{2.718281828, 3.644237601},
                                                 {7.389056099, 4.451081857},
                                                 {20.08553692, 8.963378141},
                                                 {54.59815003, 18.050027},
                                                 {148.4131591, 22.04635276}}),
                                        CalibrationModel::Power, 0.9);
  ASSERT_TRUE(out.ok());
  const CalibrationFit& f = out.fit;
  expectRelative(f.a, 2, 1e-7);
  expectRelative(f.b, 0.5, 1e-7);
  expectRelative(f.s, 0.1825741858, 1e-6);
  expectRelative(f.r2, 0.9615384615, 1e-7);
  // e^3: 2·e^1.5, and that times e^(−1.6377444 · 0.1825742 · √1.2)
  expectRelative(f.estimate(20.08553692), 8.963378141, 1e-7);
  expectRelative(f.lowerBound(20.08553692), 6.459799692, 1e-6);
  expectRelative(derivedDynamic(f, 8).value_or(0), 30.96257136, 1e-6);
}

TEST(Calibration, PairsThatCannotBeFittedAreRefusedAndWeakOnesWarned) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    QList<CalibrationPair> pairs;
    CalibrationModel model;
    FitProblem problem;
    const char* english;
  } cases[] = {
      {pairsOf({{30, 90}, {40, 100}, {50, 120}, {60, 130}}), CalibrationModel::Linear, FitProblem::TooFewPairs, "fewer than 5 pairs"},
      {pairsOf({{40, 90}, {40, 100}, {40, 120}, {40, 130}, {40, 110}}), CalibrationModel::Linear, FitProblem::AllXEqual,
       "every dynamic modulus is the same"},
      {pairsOf({{30, 90}, {40, 0}, {50, 120}, {60, 130}, {70, 150}}), CalibrationModel::Power, FitProblem::NotPositive,
       "the power model needs values above 0"},
      {pairsOf({{30, 90}, {40, nan}, {50, 120}, {60, 130}, {70, 150}}), CalibrationModel::Linear, FitProblem::NotFinite,
       "a value is not a number"},
  };
  for (const auto& c : cases) {
    const FitOutcome out = fitCalibration(c.pairs, c.model, 0.9);
    EXPECT_EQ(out.problem, c.problem) << c.english;
    EXPECT_EQ(fitProblemText(out.problem, Language::English), QString::fromUtf8(c.english));
  }
  // Nine scattered pairs: both warnings, neither blocking.
  const FitOutcome weak = fitCalibration(
      pairsOf({{30, 100}, {35, 80}, {40, 120}, {45, 90}, {50, 70}, {55, 130}, {60, 85}, {65, 125}, {70, 95}}),
      CalibrationModel::Linear, 0.9);
  ASSERT_TRUE(weak.ok());
  EXPECT_EQ(fitWarnings(weak.fit, Language::English),
            QStringList({"only 9 pairs (10 or more advised)", QStringLiteral("R² = 0,03 is below 0,5")}));
}

// A requirements file with a calibration: the required dynamic modulus is derived on reading, said
// in words, and refused when the calibration cannot give it.
TEST(Calibration, RequirementsGivenThroughACalibrationAreDerivedOrRefused) {
  const auto file = [](const char* requirement, const char* pairs) {
    return QByteArray(R"({"version": 2, "requirements": [)") + requirement +
           R"(], "calibrations": [{"name": "Sand 05.2026", "material": "Песок", "quantity": "Ev2", "pairs": )" + pairs +
           "}]}";
  };
  const char* byHand = "[[10, 21], [20, 38], [30, 60], [40, 82], [50, 99]]";
  ControlSetup setup;
  ASSERT_EQ(parseControlSetup(file(R"({"object": "*", "material": "Песок", "calibration": "Sand 05.2026", "minReference": 60})", byHand),
                              setup).status,
            SetupReadResult::Ok);
  expectRelative(setup.requirements[0].minDynamic, 31.63957775, 1e-8);
  EXPECT_EQ(derivationText(setup.requirements[0], setup, Language::English),
            QStringLiteral("Ev2 ≥ 60 MPa ⇒ Evd ≥ 31,6 MPa, calibration \"Sand 05.2026\", n = 5, R² = 1,00"));
  // Written and read again, the file keeps the calibration and the requirement as the lab gave them.
  ControlSetup again;
  ASSERT_EQ(parseControlSetup(controlSetupJson(setup), again).status, SetupReadResult::Ok);
  EXPECT_EQ(again, setup);

  const struct {
    const char* requirement;
    const char* pairs;
    const char* english;
  } refusals[] = {
      {R"({"object": "*", "material": "Песок", "calibration": "Sand 05.2026", "minReference": 97})", byHand,
       "requirement 1 (object \"*\", material \"Песок\"): calibration \"Sand 05.2026\" does not reach minReference 97 within "
       "its range 10,0–50,0 MPa"},
      {R"({"object": "*", "material": "Песок", "calibration": "Clay", "minReference": 60})", byHand,
       "requirement 1 (object \"*\", material \"Песок\"): there is no calibration \"Clay\" in the file"},
      {R"({"object": "*", "material": "Песок", "calibration": "Sand 05.2026", "minReference": 60})", "[[10, 21], [20, 38]]",
       "requirement 1 (object \"*\", material \"Песок\"): calibration \"Sand 05.2026\" cannot be fitted: fewer than 5 pairs"},
      {R"({"object": "*", "material": "Песок", "calibration": "Sand 05.2026", "minReference": 60, "minDynamic": 40})", byHand,
       "requirement 1 (object \"*\", material \"Песок\"): \"minDynamic\" and \"calibration\" exclude each other"},
      {R"({"object": "*", "material": "Песок", "minDynamic": 40, "minReference": 60})", byHand,
       "requirement 1 (object \"*\", material \"Песок\"): \"minReference\" needs \"calibration\""},
      {R"({"object": "*", "material": "Песок", "minDynamic": 40})", "[[10, \"21\"]]",
       "calibration 1 (\"Sand 05.2026\"): pairs must be a list of number pairs [dynamic modulus, reference value]"},
  };
  for (const auto& r : refusals) {
    const SetupReadResult read = parseControlSetup(file(r.requirement, r.pairs), setup);
    ASSERT_EQ(read.status, SetupReadResult::Refused) << r.english;
    EXPECT_EQ(setupProblemText(read.problem, Language::English), QString::fromUtf8(r.english));
  }
}

}  // namespace
}  // namespace grx
