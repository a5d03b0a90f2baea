#pragma once
// Column widths of the two measurement tables. Each width is the rounded distance between running
// column edges, so the columns always add up to the space they share.
#include <QVector>

namespace grx {

inline constexpr int kGridRowHeight = 18;
inline constexpr int kImpactsLabelColumnWidth = 150;

// Whether `rows` rows of the series table need a vertical scroll bar in a table `height` high.
bool seriesTableNeedsScrollBar(int rows, int height);

// Widths of the ten series-table columns by their weights (0.8, 1.1, 1.2, 0.75, 0.75, 0.8, 2.0,
// 2.0, 2.3, 2.3) for a table `tableWidth` wide; 16 pixels less when a scroll bar is shown.
QVector<int> seriesColumnWidths(int tableWidth, bool scrollBar);

// Widths of the impacts-table columns: column 0 is 150, the others share what remains.
QVector<int> impactsColumnWidths(int tableWidth, int splitterWidth, int columnCount);

}  // namespace grx
