#pragma once
// The control chart of a test lot as a report picture: the evaluated dynamic modulus of each point
// in time order, the required value, the lot's mean and its characteristic value, the failing points
// marked, with the value axis, the points' series numbers and a legend, in the current language.
#include "ReportDrawing.h"
#include "control/ControlChartData.h"
#include "control/ControlEvaluation.h"
#include "control/Requirements.h"
#include "platform/TextPair.h"

#include <QSizeF>
#include <QStringList>

#include <vector>

namespace grx {

// The chart of lot `lot` (control/ControlChartData) with each point's label: its series number.
struct LotChart {
  ControlChartData data;
  QStringList labels;  // one per point of data
};
LotChart lotChart(const MeasurementSet& set, const ControlResult& result, const ControlSetup& setup, int lot);

// The chart drawn to fill sizeMm.
ReportDrawing controlChartDrawing(const LotChart& chart, QSizeF sizeMm, Language language);

}  // namespace grx
