#include "ClipboardText.h"

#include <algorithm>

namespace grx {

QString tableCopyText(const TextGrid& grid) {
  return tableCopyText(grid, CellRange{0, 0, grid.columnCount() - 1, grid.rowCount() - 1});
}

QString tableCopyText(const TextGrid& grid, const CellRange& block) {
  const int left = std::max(block.left, 0);
  const int top = std::max(block.top, 0);
  const int right = std::min(block.right, grid.columnCount() - 1);
  const int bottom = std::min(block.bottom, grid.rowCount() - 1);
  QString text;
  if (block.isEmpty() || left > right || top > bottom) return text;
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) {
      text += grid.cell(r, c);
      if (c < right) text += u'\t';
    }
    text += QLatin1String("\r\n");
  }
  return text;
}

}  // namespace grx
