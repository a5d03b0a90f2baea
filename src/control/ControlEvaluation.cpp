#include "ControlEvaluation.h"

#include "data/TextForms.h"

#include <cmath>
#include <map>
#include <tuple>

namespace grx {
namespace {

PointResult evaluatePoint(const MeasurementSet& set, std::uint32_t k, const ControlSetup& setup) {
  PointResult p;
  p.series = k;
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
  double dyn = 0, stat = 0, disp = 0, vel = 0;
  for (std::uint32_t i = first + std::uint32_t(s.seatingImpacts); i < end; ++i) {
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
  if (requirement) p.verdict = pointVerdict(p, *requirement);
  return p;
}

void lotStatistics(LotResult& lot, const std::vector<PointResult>& points, const ControlSetup& setup) {
  double sum = 0;
  for (const int i : lot.points) {
    const double v = points[std::size_t(i)].dynamic;
    if (!std::isfinite(v)) continue;
    ++lot.n;
    sum += v;
    lot.min = lot.n == 1 ? v : std::min(lot.min, v);
    lot.max = lot.n == 1 ? v : std::max(lot.max, v);
  }
  if (lot.n == 0) return;
  lot.mean = sum / lot.n;
  if (lot.n >= 2) {
    double squares = 0;
    for (const int i : lot.points)
      if (const double v = points[std::size_t(i)].dynamic; std::isfinite(v)) squares += (v - lot.mean) * (v - lot.mean);
    lot.sd = std::sqrt(squares / (lot.n - 1));
    lot.cv = lot.mean != 0 ? lot.sd / lot.mean : kNoValue;
    lot.characteristic = lot.mean - setup.settings.k * lot.sd;
  }
  if (lot.requirement < 0) return;
  const Requirement& r = setup.requirements[lot.requirement];
  bool allPass = true;
  for (const int i : lot.points) {
    const PointResult& p = points[std::size_t(i)];
    if (std::isfinite(p.dynamic) && p.dynamic < r.minDynamic) ++lot.below;
    if (p.verdict == Verdict::Fail) allPass = false;
  }
  lot.belowShare = double(lot.below) / lot.n;
  if (setup.settings.lotRule == LotRule::EachPoint) {
    lot.verdict = allPass ? Verdict::Pass : Verdict::Fail;
  } else if (lot.n < setup.settings.minPoints) {
    lot.verdict = Verdict::TooFew;
  } else {
    lot.verdict = std::isfinite(lot.characteristic) && lot.characteristic >= r.minDynamic ? Verdict::Pass : Verdict::Fail;
  }
}

}  // namespace

bool ControlResult::anyLotFails() const {
  for (const LotResult& lot : lots)
    if (lot.verdict == Verdict::Fail) return true;
  return false;
}

Verdict pointVerdict(const PointResult& p, const Requirement& r) {
  if (!std::isfinite(p.dynamic) || (r.minStatic && !std::isfinite(p.statics)) || (r.maxSv && !std::isfinite(p.sv)))
    return Verdict::None;
  const bool pass = p.dynamic >= r.minDynamic && (!r.minStatic || p.statics >= *r.minStatic) && (!r.maxSv || p.sv <= *r.maxSv);
  return pass ? Verdict::Pass : Verdict::Fail;
}

ControlResult evaluateControl(const MeasurementSet& set, const ControlSetup& setup) {
  ControlResult result;
  result.points.reserve(set.seriesCount());
  std::map<std::tuple<QString, QString, qint64>, int> lotOf;
  for (std::uint32_t k = 0; k < set.seriesCount(); ++k) {
    PointResult p = evaluatePoint(set, k, setup);
    const qint64 day = setup.settings.splitLotsByDate ? p.date.toJulianDay() : 0;
    auto [it, added] = lotOf.try_emplace({p.object, p.material, day}, int(result.lots.size()));
    if (added) {
      LotResult lot;
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
