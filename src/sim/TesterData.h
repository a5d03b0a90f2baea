#pragma once
// Fills a simulated tester with measurements and the names a new tester holds.
#include "TesterCore.h"

#include <QString>

namespace grx {
class MeasurementSet;
}

namespace grx::sim {

// The set's whole directory and its records, as the tester would hold them after those impacts.
void loadMeasurements(TesterCore& core, const MeasurementSet& set);

// The tester's factory name lists (Russian, as its menus show them).
void loadDefaultNames(TesterCore& core);

// A name list from a name-list file ("*.mtgrx" for materials, "*.objgrx" for objects) as the
// program writes them; false, and the block unchanged, when the file holds no name of the list.
bool loadNameListFile(TesterCore& core, bool materials, const QString& path);
// The screen image from a file of 1024 bytes (the tester's own layout); false for another size.
bool loadScreenFile(TesterCore& core, const QString& path);

}  // namespace grx::sim
