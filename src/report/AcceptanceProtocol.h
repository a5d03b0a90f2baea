#pragma once
// The acceptance protocol ("Протокол приёмки"): the second report of the program, on the same
// engine as the measured-moduli report. It lists the requirements and evaluation settings used,
// the lot table, one row per test point (in table order) and the control chart of each lot, with
// the compaction control's texts in the current language. The window shows it in ReportPreview;
// grx1-cli control -o writes it in every export format.
#include "ReportLayout.h"
#include "control/ControlEvaluation.h"
#include "control/Requirements.h"
#include "platform/TextPair.h"

namespace grx {

// Prepares the protocol of an evaluation (result = evaluateControl(set, setup)).
PreparedReport prepareAcceptanceProtocol(const MeasurementSet& set, const ControlSetup& setup,
                                         const ControlResult& result, Language language);

}  // namespace grx
