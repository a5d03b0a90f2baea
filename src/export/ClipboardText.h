#pragma once
// Text that the copy commands put on the clipboard, ready to paste into a spreadsheet: cells as
// shown, each followed by a tab except the last of its row, CR LF after every row.
#include "views/TextGrid.h"

#include <QString>

namespace grx {

// Every row and column of the grid.
QString tableCopyText(const TextGrid& grid);

// The cells of the block, clipped to the grid; an empty block gives an empty text.
QString tableCopyText(const TextGrid& grid, const CellRange& block);

}  // namespace grx
