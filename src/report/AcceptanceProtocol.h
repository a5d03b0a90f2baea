#pragma once
// The acceptance protocol ("Протокол приёмки"): the second report of the program, on the same
// engine as the measured-moduli report. A heading names where the measurements and requirements
// came from, the date of issue and the evaluation settings; then the requirements, the lot table,
// one row per test point (in table order), the control chart of each lot and the lines to sign
// on, with "page N of M" at every page's foot, all in the language asked for. The window shows it
// in ReportPreview; grx1-cli control -o writes it in every export format.
#include "DocumentIdentity.h"
#include "ReportLayout.h"
#include "control/ControlEvaluation.h"
#include "control/Requirements.h"
#include "platform/TextPair.h"
#include "views/TextGrid.h"

namespace grx {

// The texts of the protocol's tables, their headings in row 0: the requirements, the lots with
// their numbers in front and the points.
struct ProtocolTables {
  TextGrid requirements, lots, points;
};
ProtocolTables protocolTables(const MeasurementSet& set, const ControlSetup& setup, const ControlResult& result,
                              Language language);

// Prepares the protocol of an evaluation (result = evaluateControl(set, setup)).
PreparedReport prepareAcceptanceProtocol(const MeasurementSet& set, const ControlSetup& setup,
                                         const ControlResult& result, const DocumentIdentity& identity,
                                         Language language);

}  // namespace grx
