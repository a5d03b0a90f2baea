#pragma once
// What the control chart of one lot shows: the points' dynamic moduli in the order they were
// measured, and the lot's required, mean and characteristic values as lines.
#include "ControlEvaluation.h"

#include <vector>

namespace grx {

struct ControlChartPoint {
  int point = -1;      // index into the result's points (its series)
  int order = 0;       // 1, 2, ... in time order
  QString label;       // the series number, as the protocol's charts label their points
  double dynamic = 0;  // MPa
  bool fails = false;  // the point's verdict is Fail
};

struct ControlChartData {
  std::vector<ControlChartPoint> points;  // only points with a finite dynamic modulus
  double required = kNoValue;             // not finite: no line
  double mean = kNoValue;
  double characteristic = kNoValue;
};

// The chart of lot `lot`; empty for a lot index that does not exist. Points of the same date and
// time keep their table order.
ControlChartData controlChartData(const ControlResult& result, const ControlSetup& setup, int lot);

// The span of values a chart shows: every point and line with a margin of a tenth of their span
// (at least 1 MPa) above and below, so that no line, the required one above all, lies on the
// chart's frame. 0 to 100 for a chart with nothing to show.
struct ControlChartRange {
  double low = 0;
  double high = 100;
};
ControlChartRange controlChartRange(const ControlChartData& data);

}  // namespace grx
