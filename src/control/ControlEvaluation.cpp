#include "ControlEvaluation.h"

#include "data/TextForms.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace grx {
namespace {

// Why a point with this requirement cannot be judged, or None when it can.
Reason undecidedPoint(const MeasurementSet& set, const PointResult& p, std::uint32_t firstKept, const Requirement& r,
                      int& impact) {
  if (!r.calibration.isEmpty() && !std::isfinite(r.minDynamic)) return Reason::NoCalibration;
  if (p.impacts == 0) return Reason::NoImpacts;
  for (std::uint32_t i = 0; i < p.impacts; ++i) {
    const ImpactRecordView v = set.view(firstKept + i);
    // grx1-cli's --require-stat or --max-sv alone require no dynamic modulus (0).
    if ((r.minDynamic > 0 && !std::isfinite(v.dynamicModulus())) || (r.minStatic && !std::isfinite(v.staticModulus()))) {
      impact = int(firstKept + i - set.seriesStart(p.series)) + 1;
      return Reason::NonFiniteModulus;
    }
  }
  if (r.maxSv && !std::isfinite(p.sv)) return Reason::SvNotComputable;
  return Reason::None;
}

PointResult evaluatePoint(const MeasurementSet& set, std::uint32_t k, const ControlSetup& setup) {
  PointResult p;
  p.series = k;
  const SeriesSummary summary = set.seriesSummary(k);
  p.label = QString::number(summary.seriesNumber) + u'/' + QString::number(summary.runLength);
  const std::uint32_t first = set.seriesStart(k);
  const std::uint32_t end = set.seriesStart(k + 1);
  const ImpactRecordView head = set.view(first);
  p.object = nameText(head.objectNameField());
  p.material = nameText(head.soilNameField());
  p.date = QDate(2000 + head.year(), head.month(), head.day());
  p.timeOfDay = head.hours() * 3600 + head.minutes() * 60 + head.seconds();
  const Requirement* requirement = matchingRequirement(setup, p.object, p.material);
  if (requirement) p.requirement = int(requirement - setup.requirements.data());

  const EvaluationSettings& s = setup.settings;
  const double maxSv = requirement && requirement->maxSv ? *requirement->maxSv : -1;
  const std::uint32_t firstKept = std::min(end, first + std::uint32_t(s.seatingImpacts));
  double dyn = 0, stat = 0, disp = 0, vel = 0;
  for (std::uint32_t i = firstKept; i < end; ++i) {
    const ImpactRecordView r = set.view(i);
    dyn += r.dynamicModulus();
    stat += r.staticModulus();
    disp += r.displacement();
    vel += r.velocityMin();
    const ImpactFlags f = impactFlags(r, s.durationMinMs, s.durationMaxMs, maxSv);
    p.flags.duration += f.duration;
    p.flags.nonFinite += f.nonFinite;
    p.flags.svAbove += f.svAbove;
    ++p.impacts;
  }
  if (p.impacts > 0) {
    p.dynamic = dyn / p.impacts;
    p.statics = stat / p.impacts;
    p.sv = vel != 0 ? std::abs(disp / vel) : kNoValue;
  }
  if (!requirement) {
    // Requirements that leave this point out make it undecided; none at all evaluate nothing.
    p.verdict = setup.requirements.isEmpty() ? Verdict::None : Verdict::Undecided;
    p.reason = Reason::NoRequirement;
    return p;
  }
  p.reason = undecidedPoint(set, p, firstKept, *requirement, p.impact);
  p.verdict = p.reason == Reason::None ? pointVerdict(p, *requirement) : Verdict::Undecided;
  return p;
}

void lotStatistics(LotResult& lot, const std::vector<PointResult>& points, const ControlSetup& setup) {
  // With a requirement the statistics are of the decided points; without, of every point with a value.
  const bool judged = lot.requirement >= 0;
  const auto counts = [&](const PointResult& p) { return (!judged || p.decided()) && std::isfinite(p.dynamic); };
  double sum = 0;
  for (const int i : lot.points) {
    const PointResult& p = points[std::size_t(i)];
    if (judged && !p.decided()) lot.undecided.push_back(i);
    if (!counts(p)) continue;
    const double v = p.dynamic;
    ++lot.n;
    sum += v;
    lot.min = lot.n == 1 ? v : std::min(lot.min, v);
    lot.max = lot.n == 1 ? v : std::max(lot.max, v);
  }
  if (lot.n > 0) lot.mean = sum / lot.n;
  if (lot.n >= 2) {
    double squares = 0;
    for (const int i : lot.points)
      if (const PointResult& p = points[std::size_t(i)]; counts(p)) squares += (p.dynamic - lot.mean) * (p.dynamic - lot.mean);
    lot.sd = std::sqrt(squares / (lot.n - 1));
    lot.cv = lot.mean != 0 ? lot.sd / lot.mean : kNoValue;
    lot.characteristic = lot.mean - setup.settings.k * lot.sd;
  }
  if (!judged) {
    lot.verdict = setup.requirements.isEmpty() ? Verdict::None : Verdict::Undecided;
    lot.reason = Reason::NoRequirement;
    return;
  }
  const Requirement& r = setup.requirements[lot.requirement];
  bool anyFails = false;
  for (const int i : lot.points) {
    const PointResult& p = points[std::size_t(i)];
    if (p.decided() && std::isfinite(p.dynamic) && p.dynamic < r.minDynamic) ++lot.below;
    anyFails = anyFails || p.verdict == Verdict::Fail;
  }
  if (lot.n > 0) lot.belowShare = double(lot.below) / lot.n;
  const bool statistical = setup.settings.lotRule == LotRule::Statistical;
  const bool enough = lot.n >= setup.settings.minPoints;
  // The decided points alone break the rule: what the others would add cannot save the lot.
  const bool broken = statistical ? enough && !(lot.characteristic >= r.minDynamic) : anyFails;
  if (broken) {
    lot.verdict = Verdict::Fail;
  } else if (!lot.undecided.empty()) {
    lot.verdict = Verdict::Undecided;
    lot.reason = Reason::Incomplete;
  } else if (statistical && !enough) {
    lot.verdict = Verdict::Undecided;
    lot.reason = Reason::TooFewPoints;
  } else {
    lot.verdict = Verdict::Pass;
  }
}

// The point's estimate of the reference test by its calibration: its requirement's, else the one
// matching its names.
void estimateReference(PointResult& p, const ControlSetup& setup, const std::vector<FitOutcome>& fits) {
  const Requirement* r = p.requirement >= 0 ? &setup.requirements[p.requirement] : nullptr;
  const int c = r && !r->calibration.isEmpty() ? calibrationIndex(setup.calibrations, r->calibration)
                                               : matchingCalibration(setup.calibrations, p.object, p.material);
  if (c < 0 || !fits[std::size_t(c)].ok()) return;
  const CalibrationFit& fit = fits[std::size_t(c)].fit;
  p.calibration = c;
  if (!std::isfinite(p.dynamic)) return;
  p.reference = fit.estimate(p.dynamic);
  p.referenceLower = fit.lowerBound(p.dynamic);
  p.outsideCalibration = p.dynamic < fit.xMin || p.dynamic > fit.xMax;
}

}  // namespace

bool ControlResult::anyLotFails() const {
  for (const LotResult& lot : lots)
    if (lot.verdict == Verdict::Fail) return true;
  return false;
}

bool ControlResult::anyLotUndecided() const {
  for (const LotResult& lot : lots)
    if (lot.verdict == Verdict::Undecided || lot.verdict == Verdict::None) return true;
  return false;
}

Verdict pointVerdict(const PointResult& p, const Requirement& r) {
  const bool pass = (r.minDynamic <= 0 || p.dynamic >= r.minDynamic) && (!r.minStatic || p.statics >= *r.minStatic) && (!r.maxSv || p.sv <= *r.maxSv);
  return pass ? Verdict::Pass : Verdict::Fail;
}

ControlResult evaluateControl(const MeasurementSet& set, const ControlSetup& given) {
  // Requirements given through a calibration are derived afresh, so no stale modulus judges.
  ControlSetup derived;
  const bool calibrated = std::any_of(given.requirements.begin(), given.requirements.end(),
                                      [](const Requirement& r) { return !r.calibration.isEmpty(); });
  if (calibrated) {
    derived = given;
    deriveCalibratedRequirements(derived);
  }
  const ControlSetup& setup = calibrated ? derived : given;
  std::vector<FitOutcome> fits;
  for (const Calibration& c : setup.calibrations) fits.push_back(fitCalibration(c));
  ControlResult result;
  result.points.reserve(set.seriesCount());
  std::map<std::tuple<QString, QString, qint64>, int> lotOf;
  for (std::uint32_t k = 0; k < set.seriesCount(); ++k) {
    PointResult p = evaluatePoint(set, k, setup);
    if (!fits.empty()) estimateReference(p, setup, fits);
    const qint64 day = setup.settings.splitLotsByDate ? p.date.toJulianDay() : 0;
    auto [it, added] = lotOf.try_emplace({p.object, p.material, day}, int(result.lots.size()));
    if (added) {
      LotResult lot;
      lot.number = int(result.lots.size()) + 1;
      lot.object = p.object;
      lot.material = p.material;
      if (setup.settings.splitLotsByDate) lot.date = p.date;
      lot.requirement = p.requirement;
      result.lots.push_back(lot);
    }
    p.lot = it->second;
    result.lots[std::size_t(p.lot)].points.push_back(int(k));
    result.points.push_back(p);
  }
  for (LotResult& lot : result.lots) lotStatistics(lot, result.points, setup);
  return result;
}

}  // namespace grx
