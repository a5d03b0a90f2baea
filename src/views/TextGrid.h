#pragma once
// A table of cell texts, the form in which the window-free code hands tables to the widgets, to
// the clipboard and to the command-line companion.
#include <QString>
#include <QVector>

namespace grx {

class TextGrid {
 public:
  TextGrid() = default;
  TextGrid(int rows, int columns) : rows_(rows), columns_(columns), cells_(rows * columns) {}

  int rowCount() const { return rows_; }
  int columnCount() const { return columns_; }

  const QString& cell(int row, int column) const { return cells_[row * columns_ + column]; }
  QString& cell(int row, int column) { return cells_[row * columns_ + column]; }

 private:
  int rows_ = 0;
  int columns_ = 0;
  QVector<QString> cells_;
};

// A selected block of cells, inclusive; all -1 when nothing is selected.
struct CellRange {
  int left = -1;
  int top = -1;
  int right = -1;
  int bottom = -1;

  bool isEmpty() const { return left < 0 || top < 0 || right < left || bottom < top; }
  bool isSingleCell() const { return left == right && top == bottom; }
  bool operator==(const CellRange&) const = default;
};

}  // namespace grx
