#pragma once
// Fills a simulated tester with measurements and the names a new tester holds.
#include "TesterCore.h"

namespace grx {
class MeasurementSet;
}

namespace grx::sim {

// The set's whole directory and its records, as the tester would hold them after those impacts.
void loadMeasurements(TesterCore& core, const MeasurementSet& set);

// The tester's factory name lists (Russian, as its menus show them).
void loadDefaultNames(TesterCore& core);

}  // namespace grx::sim
