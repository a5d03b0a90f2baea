#include "ColumnWidths.h"

#include <cmath>

namespace grx {

bool seriesTableNeedsScrollBar(int rows, int height) { return rows * (kGridRowHeight + 1) >= height - 2; }

QVector<int> seriesColumnWidths(int tableWidth, bool scrollBar) {
  static constexpr double kWeights[10] = {0.8, 1.1, 1.2, 0.75, 0.75, 0.8, 2.0, 2.0, 2.3, 2.3};
  double available = tableWidth - 10.0;
  if (scrollBar) available -= 16.0;
  const double unit = available / 14.0;
  QVector<int> widths;
  double position = 0.5;
  int total = 0;
  for (double weight : kWeights) {
    position += unit * weight;
    const int width = int(std::trunc(position - total));
    widths.append(width);
    total += width;
  }
  return widths;
}

QVector<int> impactsColumnWidths(int tableWidth, int splitterWidth, int columnCount) {
  QVector<int> widths{kImpactsLabelColumnWidth};
  if (columnCount < 2) return widths;
  const double w = double(tableWidth - kImpactsLabelColumnWidth - splitterWidth) / (columnCount - 1) - 1.0;
  double position = kImpactsLabelColumnWidth;
  int total = kImpactsLabelColumnWidth;
  for (int c = 1; c < columnCount; ++c) {
    position += w;
    const int width = int(std::trunc(position - total));
    widths.append(width);
    total += width;
  }
  return widths;
}

}  // namespace grx
