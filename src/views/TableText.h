#pragma once
// Cell texts of the two measurement tables, computed from the measurement set without any window:
// the series table (two heading rows, then one row per series) and the impacts table of one series
// (labels in column 0, one column per impact). The table widgets only display these grids.
#include "TextGrid.h"
#include "data/MeasurementSet.h"
#include "platform/TextPair.h"

namespace grx {

inline constexpr int kSeriesTableColumns = 10;
inline constexpr int kSeriesTableHeaderRows = 2;
inline constexpr int kImpactsTableRows = 8;

// Heading text of impacts-table column c (1-based): "3-й удар" / "3-st impact".
QString impactHeading(int column, Language language);

// Rows 0 and 1 of the series table (headings and units) written into grid.
void writeSeriesTableHeadings(TextGrid& grid, Language language);
// Column 0 labels of rows 1 to 7 of the impacts table written into grid.
void writeImpactsTableLabels(TextGrid& grid, Language language);

// The series table: at least 3 rows; rows 2 + k hold series k.
TextGrid seriesTableText(const MeasurementSet& set, Language language);

// The data row of series k (10 cells).
void writeSeriesRow(const MeasurementSet& set, std::uint32_t k, Language language, QString* cells);

// The impacts table of series k: 8 rows, one column per impact of the series run of its first
// impact plus the label column. A cell whose value cannot be computed shows "NAN". For an empty
// set: two columns with the headings and labels only.
TextGrid impactsTableText(const MeasurementSet& set, std::uint32_t k, Language language);

// The seven value cells (rows 1..7) of one impact record.
void writeImpactCells(const ImpactRecordView& record, QString* cells);

}  // namespace grx
