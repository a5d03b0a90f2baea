#pragma once
// The calibration lists of the Edit menu: one value per impact of the whole set, series by series,
// ready to paste into the tester's calibration sheet.
#include "data/MeasurementSet.h"

#include <QString>

namespace grx {

enum class CalibrationValue {
  Force,        // the impact force the tester computed, in N, "0.0"
  Displacement  // the displacement the tester computed, in mm, "0.0000"
};

// One line per impact, each ended by a single LF; no header, nothing between series. An empty set
// gives an empty text.
QString calibrationText(const MeasurementSet& set, CalibrationValue value);

}  // namespace grx
