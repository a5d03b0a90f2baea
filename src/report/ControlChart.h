#pragma once
// The control chart of a test lot as a report picture: the evaluated dynamic modulus of each point
// in time order, the required value, the lot's mean and its characteristic value, the failing points
// marked, with the value axis, the points' series numbers and a legend, in the current language.
#include "ReportDrawing.h"
#include "control/ControlEvaluation.h"
#include "control/Requirements.h"
#include "platform/TextPair.h"

#include <QSizeF>

#include <vector>

namespace grx {

struct ControlChartPoint {
  QString label;            // the series number
  double value = kNoValue;  // MPa; not finite: no mark
  bool fails = false;
};

struct ControlChartData {
  std::vector<ControlChartPoint> points;  // in time order
  double required = kNoValue;             // not finite: no requirement
  double mean = kNoValue;
  double characteristic = kNoValue;
};

// The chart of lot `lot` of the result: its points ordered by the date and time of their first
// impact (table order among equals).
ControlChartData lotChartData(const MeasurementSet& set, const ControlResult& result, const ControlSetup& setup,
                              int lot);

// The chart drawn to fill sizeMm.
ReportDrawing controlChartDrawing(const ControlChartData& chart, QSizeF sizeMm, Language language);

}  // namespace grx
