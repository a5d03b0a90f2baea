#include "export/ClipboardText.h"

#include <gtest/gtest.h>

namespace grx {
namespace {

TextGrid numbered(int rows, int columns) {
  TextGrid g(rows, columns);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) g.cell(r, c) = QStringLiteral("r%1c%2").arg(r).arg(c);
  return g;
}

TEST(ClipboardText, WholeTableHasTabsBetweenCellsAndCrLfAfterEveryRow) {
  EXPECT_EQ(tableCopyText(numbered(3, 4)),
            "r0c0\tr0c1\tr0c2\tr0c3\r\n"
            "r1c0\tr1c1\tr1c2\tr1c3\r\n"
            "r2c0\tr2c1\tr2c2\tr2c3\r\n");
}

TEST(ClipboardText, SelectedBlocks) {
  const TextGrid g = numbered(4, 5);
  struct Case {
    CellRange block;
    const char* expected;
  };
  const Case cases[] = {
      {{2, 1, 2, 1}, "r1c2\r\n"},
      {{1, 2, 3, 3}, "r2c1\tr2c2\tr2c3\r\nr3c1\tr3c2\tr3c3\r\n"},
      {{3, 0, 9, 0}, "r0c3\tr0c4\r\n"},  // clipped to the grid
      {{-1, -1, -1, -1}, ""},             // nothing selected
  };
  for (const Case& c : cases) EXPECT_EQ(tableCopyText(g, c.block), QString::fromUtf8(c.expected));
}

TEST(ClipboardText, CellsAreCopiedAsShownWithoutQuoting) {
  TextGrid g(1, 3);
  g.cell(0, 0) = QStringLiteral("55°09'24,0\" СШ");
  g.cell(0, 2) = QStringLiteral("a;b");
  EXPECT_EQ(tableCopyText(g), QStringLiteral("55°09'24,0\" СШ\t\ta;b\r\n"));
}

}  // namespace
}  // namespace grx
