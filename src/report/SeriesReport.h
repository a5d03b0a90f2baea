#pragma once
// The measured-moduli report of a series table: the template frxReport1, the program's variables
// and the row source over the table's data rows, laid out into pages.
#include "ReportLayout.h"
#include "platform/TextPair.h"
#include "views/TextGrid.h"

namespace grx {

// Prepares the report afresh from the table's texts as they stand; header texts in `language`.
PreparedReport prepareSeriesReport(const TextGrid& seriesTable, Language language);

}  // namespace grx
