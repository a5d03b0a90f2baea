#pragma once
// Site calibration of the tester against the test the design asks for. Design documents state a
// static plate-load modulus (Ev2, Ev1) or a compaction coefficient or dry density, rarely a dynamic
// modulus. A lab that accepts layers with this tester first tests a trial section: at a number of
// places it measures with the tester and with the reference method, and fits a relation per
// material. From then on a required reference value is turned into a required dynamic modulus: the
// smallest one whose one-sided lower prediction bound still meets the reference requirement, so a
// point that passes on the tester passes the reference test with the calibration's confidence.
//
// Models: linear y = a + b·x, or power y = a·x^b fitted by least squares on ln y against ln x
// (its statistics are those of the logarithms; estimates and bounds are taken back with exp).
#include "platform/TextPair.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace grx {

enum class ReferenceQuantity {
  Ev2,          // static plate-load modulus, second loading, MPa
  Ev1,          // static plate-load modulus, first loading, MPa
  Compaction,   // compaction coefficient, a ratio (0.98)
  DryDensity,   // g/cm³
  Other,        // named by the user, with its unit
};

enum class CalibrationModel { Linear, Power };

struct CalibrationPair {
  double dynamic = 0;    // the tester's dynamic modulus at the place, MPa (x)
  double reference = 0;  // the reference test's value at the same place (y)
  friend bool operator==(const CalibrationPair&, const CalibrationPair&) = default;
};

struct Calibration {
  QString name;  // unique among the calibrations; requirements name it ("Sand 05.2026")
  QString object = QStringLiteral("*");
  QString material = QStringLiteral("*");
  ReferenceQuantity quantity = ReferenceQuantity::Ev2;
  QString quantityName;  // Other: the quantity's name ("Kупл")
  QString unit;          // Other: its unit, may be empty
  CalibrationModel model = CalibrationModel::Linear;
  double confidence = 0.90;  // of the one-sided lower prediction bound
  QDate date;
  QString comment;
  QList<CalibrationPair> pairs;
  friend bool operator==(const Calibration&, const Calibration&) = default;
};

inline constexpr double kMinConfidence = 0.80;
inline constexpr double kMaxConfidence = 0.99;
inline constexpr int kMinCalibrationPairs = 5;
inline constexpr int kFewCalibrationPairs = 10;  // fewer: a warning
inline constexpr double kWeakR2 = 0.5;            // below: a warning

// The quantity's short name and unit as shown ("Ev2", "MPa"; "Kcom", ""; "ρd", "g/cm³"; or the
// user's), and its machine key in files ("Ev2", "Ev1", "compaction", "dryDensity", "other").
QString referenceName(const Calibration& c, Language language);
QString referenceUnit(const Calibration& c, Language language);
const char* referenceKey(ReferenceQuantity q);
std::optional<ReferenceQuantity> referenceFromKey(const QString& key);
const char* modelKey(CalibrationModel m);  // "linear", "power"
std::optional<CalibrationModel> modelFromKey(const QString& key);

// Why pairs cannot be fitted.
enum class FitProblem {
  None,
  TooFewPairs,  // fewer than kMinCalibrationPairs
  AllXEqual,    // every dynamic modulus the same: no slope
  NotPositive,  // a value at or below 0 under the power model (no logarithm)
  NotFinite,    // a value that is no number
};

struct CalibrationFit {
  CalibrationModel model = CalibrationModel::Linear;
  int n = 0;
  double a = 0;   // linear: the intercept; power: the factor a of a·x^b
  double b = 0;   // the slope; power: the exponent
  double r2 = 0;  // coefficient of determination (power: of ln y on ln x)
  double s = 0;   // residual standard error, n − 2 degrees of freedom (power: of ln y)
  double seIntercept = 0;  // standard deviations of the estimates (power: of ln a and b)
  double seSlope = 0;
  double meanU = 0;  // mean of x (power: of ln x)
  double suu = 0;    // sum of squared deviations of x (power: of ln x) from that mean
  double confidence = 0.90;
  double t = 0;      // Student's t quantile at the confidence with n − 2 degrees of freedom
  double xMin = 0;   // the calibrated range of the dynamic modulus
  double xMax = 0;
  // The estimate of the reference value at dynamic modulus x, and its one-sided lower prediction
  // bound ŷ − t·s·√(1 + 1/n + (x − x̄)²/Sxx) (power: in the logarithms, then taken back).
  double estimate(double x) const;
  double lowerBound(double x) const;
  bool fewPairs() const { return n < kFewCalibrationPairs; }
  bool weak() const { return r2 < kWeakR2; }
};

struct FitOutcome {
  FitProblem problem = FitProblem::None;
  CalibrationFit fit;  // valid when there is no problem
  bool ok() const { return problem == FitProblem::None; }
};

FitOutcome fitCalibration(const QList<CalibrationPair>& pairs, CalibrationModel model, double confidence);
inline FitOutcome fitCalibration(const Calibration& c) { return fitCalibration(c.pairs, c.model, c.confidence); }

// The quantile of Student's t distribution: P(T ≤ t) = probability with `degreesOfFreedom`.
double studentQuantile(double probability, int degreesOfFreedom);

// The required dynamic modulus for a required reference value: the smallest dynamic modulus in the
// calibrated range whose lower prediction bound reaches `required`. None when no modulus in the
// range reaches it: the calibration is never extrapolated.
std::optional<double> derivedDynamic(const CalibrationFit& fit, double required);

// "fewer than 5 pairs", "every dynamic modulus is the same", ...
QString fitProblemText(FitProblem problem, Language language);
// The warnings that do not block: "only 7 pairs (10 or more advised)", "R² = 0,42 is below 0,5".
QStringList fitWarnings(const CalibrationFit& fit, Language language);
// A number of a calibration with four significant digits and the decimal comma: "0,98", "41,27".
QString calibrationNumber(double value);
// The fitted equation with its numbers: "Ev2 = 12,3 + 1,84·Evd" or "Ev2 = 3,12·Evd^0,812".
QString fitEquation(const Calibration& c, const CalibrationFit& fit, Language language);

// The calibration for a point of this object and material, the most specific first (as the
// requirements are matched); -1 when none matches.
int matchingCalibration(const QList<Calibration>& calibrations, const QString& object, const QString& material);
// The index of the calibration of this name; -1 when there is none.
int calibrationIndex(const QList<Calibration>& calibrations, const QString& name);

}  // namespace grx
