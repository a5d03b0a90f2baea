// Requirements given in a calibration's reference quantity: their dynamic modulus is derived from
// the calibration each time the requirements are read or changed, never stored.
#include "Requirements.h"

#include "platform/NumberFormat.h"

#include <limits>

namespace grx {
namespace {

constexpr TextPair kDerivation{"%1 ≥ %2%3 ⇒ Evd ≥ %4 МПа, калибровка «%5», n = %6, R² = %7",
                               "%1 ≥ %2%3 ⇒ Evd ≥ %4 MPa, calibration \"%5\", n = %6, R² = %7"};

}  // namespace

SetupProblem deriveCalibratedRequirement(Requirement& r, int entry, const QList<Calibration>& calibrations) {
  if (r.calibration.isEmpty()) return {};
  SetupProblem problem;
  problem.entry = entry;
  problem.key = r.calibration;
  problem.object = r.object;
  problem.material = r.material;
  problem.named = true;
  // Until it is derived, the requirement lets nothing pass.
  r.minDynamic = std::numeric_limits<double>::quiet_NaN();
  const int c = calibrationIndex(calibrations, r.calibration);
  if (c < 0) {
    problem.kind = SetupProblem::Kind::UnknownCalibration;
    return problem;
  }
  const FitOutcome fit = fitCalibration(calibrations[c]);
  if (!fit.ok()) {
    problem.kind = SetupProblem::Kind::Unusable;
    problem.other = int(fit.problem);
    return problem;
  }
  const double required = r.minReference.value_or(0);
  const std::optional<double> dynamic = derivedDynamic(fit.fit, required);
  if (!dynamic) {
    problem.kind = SetupProblem::Kind::Unreachable;
    problem.value = required;
    problem.low = fit.fit.xMin;
    problem.high = fit.fit.xMax;
    return problem;
  }
  r.minDynamic = *dynamic;
  return {};
}

SetupProblem deriveCalibratedRequirements(ControlSetup& setup) {
  SetupProblem first;
  for (int i = 0; i < setup.requirements.size(); ++i)
    if (const SetupProblem p = deriveCalibratedRequirement(setup.requirements[i], i + 1, setup.calibrations);
        p.kind != SetupProblem::Kind::None && first.kind == SetupProblem::Kind::None)
      first = p;
  return first;
}

QString derivationText(const Requirement& r, const ControlSetup& setup, Language language) {
  if (r.calibration.isEmpty()) return {};
  const int c = calibrationIndex(setup.calibrations, r.calibration);
  if (c < 0) return {};
  const Calibration& calibration = setup.calibrations[c];
  const FitOutcome fit = fitCalibration(calibration);
  if (!fit.ok()) return {};
  const QString unit = referenceUnit(calibration, language);
  return kDerivation.text(language)
      .arg(referenceName(calibration, language), calibrationNumber(r.minReference.value_or(0)),
           unit.isEmpty() ? QString() : u' ' + unit, formatFloat(r.minDynamic, u"0.0"), calibration.name,
           QString::number(fit.fit.n), formatFloat(fit.fit.r2, u"0.00"));
}

}  // namespace grx
