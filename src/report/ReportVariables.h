#pragma once
// What the measured-moduli report asks of the program: the values of its variables and the row
// source over the series table. Window-free; the series table is handed in as its cell texts.
#include "platform/TextPair.h"
#include "views/TextGrid.h"

#include <QString>

namespace grx {

// The value of report variable `name` for record `recordNumber` (0-based; the series table's row
// recordNumber + 2). Names are compared exactly, in the order of the report's variable table, and
// the first match counts; header values are in `language`. Any other name gives the empty text.
QString seriesReportVariable(const QString& name, const TextGrid& seriesTable, int recordNumber, Language language);

// The number of records of the row source: the series table's rows below its two heading rows.
int seriesReportRecordCount(const TextGrid& seriesTable);

// True when the table lists no series (its cell at column 0, row 2 is empty or missing): the print
// command then does nothing.
bool seriesReportIsEmpty(const TextGrid& seriesTable);

}  // namespace grx
