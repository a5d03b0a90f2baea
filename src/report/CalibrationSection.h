#pragma once
// A site calibration in the acceptance protocol: how it was fitted, in lines a lab can check, and a
// chart of its pairs with the fitted relation and its lower prediction bound over the calibrated
// range, so a reader sees why a requirement given in the reference quantity became the dynamic
// modulus the points were judged against.
#include "ReportDrawing.h"
#include "control/ControlEvaluation.h"
#include "control/Requirements.h"
#include "platform/TextPair.h"

#include <QSizeF>
#include <QStringList>

#include <vector>

namespace grx {

// The calibrations the protocol reports, in the setup's order: those a requirement is given in and
// those a point's reference value is estimated by. Empty when none applies.
std::vector<int> usedCalibrations(const ControlSetup& setup, const ControlResult& result);

// The section's caption: Calibration "Sand 05.2026": object *, material Песок.
QString calibrationCaption(const Calibration& calibration, Language language);

// What it is and how well it fits, one "what: value" line each: the reference quantity, the model,
// the equation with its numbers, n, R², s, the confidence of the lower bound, the calibrated range,
// the date, the comment and the warnings; or why its pairs cannot be fitted.
QStringList calibrationLines(const Calibration& calibration, Language language);

// The chart of calibration `index` filling sizeMm: the pairs as dots, the fitted relation and its
// lower bound over the calibrated range, and for each requirement given in it the required
// reference value and the dynamic modulus derived from it; axes with their quantities and a legend.
ReportDrawing calibrationChartDrawing(const ControlSetup& setup, int index, QSizeF sizeMm, Language language);

}  // namespace grx
