#include "Calibration.h"

#include "platform/NumberFormat.h"

#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace grx {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Quantity {
  ReferenceQuantity quantity;
  const char* key;
  TextPair name;
  TextPair unit;
};

constexpr Quantity kQuantities[] = {
    {ReferenceQuantity::Ev2, "Ev2", {"Ev2", "Ev2"}, {"МПа", "MPa"}},
    {ReferenceQuantity::Ev1, "Ev1", {"Ev1", "Ev1"}, {"МПа", "MPa"}},
    {ReferenceQuantity::Compaction, "compaction", {"Kупл", "Kcom"}, {"", ""}},
    {ReferenceQuantity::DryDensity, "dryDensity", {"ρd", "ρd"}, {"г/см³", "g/cm³"}},
    {ReferenceQuantity::Other, "other", {"", ""}, {"", ""}},
};

constexpr TextPair kTooFewPairs{"меньше %1 пар", "fewer than %1 pairs"};
constexpr TextPair kAllXEqual{"все значения динамического модуля одинаковы", "every dynamic modulus is the same"};
constexpr TextPair kNotPositive{"степенная модель требует значений больше 0",
                                "the power model needs values above 0"};
constexpr TextPair kNotFinite{"значение не является числом", "a value is not a number"};
constexpr TextPair kFewPairsWarning{"всего %1 пар (советуем %2 и больше)", "only %1 pairs (%2 or more advised)"};
constexpr TextPair kWeakWarning{"R² = %1 меньше %2", "R² = %1 is below %2"};

const Quantity& quantityOf(ReferenceQuantity q) {
  for (const Quantity& e : kQuantities)
    if (e.quantity == q) return e;
  return kQuantities[0];
}

bool isAny(const QString& name) { return name == QLatin1String("*"); }


// The fit's own variable: x, or ln x for the power model.
double fitVariable(CalibrationModel model, double x) { return model == CalibrationModel::Power ? std::log(x) : x; }

// The lower bound in the fit's own space at u.
double lowerInFitSpace(const CalibrationFit& f, double u) {
  const double intercept = f.model == CalibrationModel::Power ? std::log(f.a) : f.a;
  const double d = u - f.meanU;
  return intercept + f.b * u - f.t * f.s * std::sqrt(1.0 + 1.0 / f.n + d * d / f.suu);
}

}  // namespace

QString referenceName(const Calibration& c, Language language) {
  return c.quantity == ReferenceQuantity::Other ? c.quantityName : quantityOf(c.quantity).name.text(language);
}

QString referenceUnit(const Calibration& c, Language language) {
  return c.quantity == ReferenceQuantity::Other ? c.unit : quantityOf(c.quantity).unit.text(language);
}

const char* referenceKey(ReferenceQuantity q) { return quantityOf(q).key; }

std::optional<ReferenceQuantity> referenceFromKey(const QString& key) {
  for (const Quantity& e : kQuantities)
    if (key == QLatin1String(e.key)) return e.quantity;
  return std::nullopt;
}

const char* modelKey(CalibrationModel m) { return m == CalibrationModel::Power ? "power" : "linear"; }

std::optional<CalibrationModel> modelFromKey(const QString& key) {
  if (key == u"linear") return CalibrationModel::Linear;
  if (key == u"power") return CalibrationModel::Power;
  return std::nullopt;
}

QString calibrationNumber(double v) {
  QString text = QString::number(v, 'g', 4);
  if (text.contains(u'e')) text = QString::number(v, 'f', std::abs(v) >= 1 ? 0 : 6);
  return text.replace(u'.', u',');
}

double CalibrationFit::estimate(double x) const {
  if (model == CalibrationModel::Power) return x > 0 ? a * std::pow(x, b) : kNaN;
  return a + b * x;
}

double CalibrationFit::lowerBound(double x) const {
  if (model == CalibrationModel::Power) return x > 0 ? std::exp(lowerInFitSpace(*this, std::log(x))) : kNaN;
  return lowerInFitSpace(*this, x);
}

double studentQuantile(double probability, int degreesOfFreedom) {
  const boost::math::students_t_distribution<double> t(degreesOfFreedom);
  return boost::math::quantile(t, probability);
}

FitOutcome fitCalibration(const QList<CalibrationPair>& pairs, CalibrationModel model, double confidence) {
  FitOutcome out;
  const bool power = model == CalibrationModel::Power;
  for (const CalibrationPair& p : pairs)
    if (!std::isfinite(p.dynamic) || !std::isfinite(p.reference)) return {FitProblem::NotFinite, {}};
  if (pairs.size() < kMinCalibrationPairs) return {FitProblem::TooFewPairs, {}};
  if (power)
    for (const CalibrationPair& p : pairs)
      if (!(p.dynamic > 0) || !(p.reference > 0)) return {FitProblem::NotPositive, {}};

  // Sums about the means (two passes): the certified regressions are met to their last digits.
  const int n = int(pairs.size());
  double meanU = 0, meanV = 0;
  for (const CalibrationPair& p : pairs) {
    meanU += fitVariable(model, p.dynamic);
    meanV += fitVariable(model, p.reference);
  }
  meanU /= n;
  meanV /= n;
  double suu = 0, suv = 0, svv = 0;
  for (const CalibrationPair& p : pairs) {
    const double du = fitVariable(model, p.dynamic) - meanU, dv = fitVariable(model, p.reference) - meanV;
    suu += du * du;
    suv += du * dv;
    svv += dv * dv;
  }
  if (!(suu > 0)) return {FitProblem::AllXEqual, {}};

  CalibrationFit& f = out.fit;
  f.model = model;
  f.n = n;
  f.b = suv / suu;
  const double intercept = meanV - f.b * meanU;
  f.a = power ? std::exp(intercept) : intercept;
  double sse = 0;
  for (const CalibrationPair& p : pairs) {
    const double r = fitVariable(model, p.reference) - (intercept + f.b * fitVariable(model, p.dynamic));
    sse += r * r;
  }
  // Every reference value the same: nothing to explain, no relation shown.
  f.r2 = svv > 0 ? 1.0 - sse / svv : 0.0;
  f.s = std::sqrt(sse / (n - 2));
  f.seSlope = f.s / std::sqrt(suu);
  f.seIntercept = f.s * std::sqrt(1.0 / n + meanU * meanU / suu);
  f.meanU = meanU;
  f.suu = suu;
  f.confidence = confidence;
  f.t = studentQuantile(confidence, n - 2);
  const auto [lo, hi] = std::minmax_element(pairs.begin(), pairs.end(),
                                            [](const CalibrationPair& l, const CalibrationPair& r) { return l.dynamic < r.dynamic; });
  f.xMin = lo->dynamic;
  f.xMax = hi->dynamic;
  return out;
}

std::optional<double> derivedDynamic(const CalibrationFit& fit, double required) {
  const bool power = fit.model == CalibrationModel::Power;
  if (power && !(required > 0)) return fit.xMin;  // every bound of the power model lies above 0
  const double target = power ? std::log(required) : required;
  const double lo = fitVariable(fit.model, fit.xMin), hi = fitVariable(fit.model, fit.xMax);
  const auto bound = [&](double u) { return lowerInFitSpace(fit, u); };
  // The bound is concave in u (a line less a convex widening): it rises to one top and falls
  // after it. Where it meets the target first is found on the rising side.
  const auto rising = [&](double u) { return bound(u + 1e-9 * (hi - lo)) > bound(u); };
  double top = hi;
  if (!rising(hi)) {
    double a = lo, b = hi;
    for (int i = 0; i < 200 && b - a > 1e-13 * (std::abs(a) + std::abs(b) + 1); ++i) {
      const double m = (a + b) / 2;
      (rising(m) ? a : b) = m;
    }
    top = a;
  }
  if (bound(top) < target) return std::nullopt;
  if (bound(lo) >= target) return fit.xMin;
  double a = lo, b = top;
  for (int i = 0; i < 200 && b - a > 1e-14 * (std::abs(a) + std::abs(b) + 1); ++i) {
    const double m = (a + b) / 2;
    (bound(m) >= target ? b : a) = m;
  }
  return power ? std::exp(b) : b;
}

QString fitProblemText(FitProblem problem, Language language) {
  switch (problem) {
    case FitProblem::None: break;
    case FitProblem::TooFewPairs: return kTooFewPairs.text(language).arg(kMinCalibrationPairs);
    case FitProblem::AllXEqual: return kAllXEqual.text(language);
    case FitProblem::NotPositive: return kNotPositive.text(language);
    case FitProblem::NotFinite: return kNotFinite.text(language);
  }
  return {};
}

QStringList fitWarnings(const CalibrationFit& fit, Language language) {
  QStringList warnings;
  if (fit.fewPairs()) warnings << kFewPairsWarning.text(language).arg(fit.n).arg(kFewCalibrationPairs);
  if (fit.weak()) warnings << kWeakWarning.text(language).arg(formatFloat(fit.r2, u"0.00"), formatFloat(kWeakR2, u"0.0"));
  return warnings;
}

QString fitEquation(const Calibration& c, const CalibrationFit& fit, Language language) {
  const QString y = referenceName(c, language);
  if (fit.model == CalibrationModel::Power)
    return QStringLiteral("%1 = %2·Evd^%3").arg(y, calibrationNumber(fit.a), calibrationNumber(fit.b));
  const QString sign = fit.b < 0 ? QStringLiteral(" − ") : QStringLiteral(" + ");
  return QStringLiteral("%1 = %2%3%4·Evd").arg(y, calibrationNumber(fit.a), sign, calibrationNumber(std::abs(fit.b)));
}

int matchingCalibration(const QList<Calibration>& calibrations, const QString& object, const QString& material) {
  int best = -1, bestRank = -1;
  for (int i = 0; i < calibrations.size(); ++i) {
    const Calibration& c = calibrations[i];
    if (!(isAny(c.object) || c.object == object) || !(isAny(c.material) || c.material == material)) continue;
    const int rank = (isAny(c.object) ? 0 : 2) + (isAny(c.material) ? 0 : 1);
    if (rank > bestRank) {
      best = i;
      bestRank = rank;
    }
  }
  return best;
}

int calibrationIndex(const QList<Calibration>& calibrations, const QString& name) {
  for (int i = 0; i < calibrations.size(); ++i)
    if (calibrations[i].name == name) return i;
  return -1;
}

}  // namespace grx
