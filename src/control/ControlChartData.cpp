#include "ControlChartData.h"

#include <algorithm>
#include <cmath>

namespace grx {

ControlChartData controlChartData(const ControlResult& result, const ControlSetup& setup, int lot) {
  ControlChartData data;
  if (lot < 0 || std::size_t(lot) >= result.lots.size()) return data;
  const LotResult& l = result.lots[std::size_t(lot)];
  std::vector<int> order;
  for (const int i : l.points)
    if (std::isfinite(result.points[std::size_t(i)].dynamic)) order.push_back(i);
  // An invalid date (a damaged record) counts as the earliest.
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const PointResult& pa = result.points[std::size_t(a)];
    const PointResult& pb = result.points[std::size_t(b)];
    const qint64 da = pa.date.isValid() ? pa.date.toJulianDay() : 0;
    const qint64 db = pb.date.isValid() ? pb.date.toJulianDay() : 0;
    return da != db ? da < db : pa.timeOfDay < pb.timeOfDay;
  });
  for (std::size_t k = 0; k < order.size(); ++k) {
    const PointResult& p = result.points[std::size_t(order[k])];
    data.points.push_back({order[k], int(k) + 1, p.label.section(u'/', 0, 0), p.dynamic, p.verdict == Verdict::Fail});
  }
  if (l.requirement >= 0 && l.requirement < setup.requirements.size())
    data.required = setup.requirements[l.requirement].minDynamic;
  data.mean = l.mean;
  data.characteristic = l.characteristic;
  return data;
}

ControlChartRange controlChartRange(const ControlChartData& data) {
  double low = INFINITY, high = -INFINITY;
  auto take = [&](double v) {
    if (!std::isfinite(v)) return;
    low = std::min(low, v);
    high = std::max(high, v);
  };
  for (const ControlChartPoint& p : data.points) take(p.dynamic);
  for (const double v : {data.required, data.mean, data.characteristic}) take(v);
  if (!std::isfinite(low)) return {};
  const double margin = std::max(0.1 * (high - low), 1.0);
  return {low - margin, high + margin};
}

}  // namespace grx
