#pragma once
// A string grid in the manner of the tester's desktop tradition: a table of cell texts with fixed
// heading rows and columns. The fixed rows become the column header (several lines joined), the
// fixed column the row header, and the corner cell a label over the header corner. Positions that
// other code sees (current row, selection) are grid positions, fixed rows and columns included.
#include "TextGrid.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QTableView>

class QLabel;

namespace grx {

class TextGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  TextGridModel(int fixedRows, int fixedColumns, QObject* parent = nullptr);

  const TextGrid& grid() const { return grid_; }
  void setGrid(TextGrid grid);
  void setCell(int row, int column, const QString& text);
  int fixedRows() const { return fixedRows_; }
  int fixedColumns() const { return fixedColumns_; }
  // Background colours of data rows, by grid row (an invalid colour or a row past the end keeps the
  // table's own); column -1 colours the whole row, another column that one cell. The texts stay
  // as they are; a new grid drops the colours.
  void setRowColors(QVector<QColor> colors, int column = -1);
  QColor rowColor(int row) const;
  // Tool tips of data rows, by grid row (why a row has its colour); a new grid drops them.
  void setRowToolTips(QStringList toolTips);
  // Marks of data columns, by grid column: a background and a tool tip over the column's cells
  // (an impact's quality flags); a new grid drops them.
  void setColumnMarks(QVector<QColor> colors, QStringList toolTips);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  TextGrid grid_;
  int fixedRows_;
  int fixedColumns_;
  QVector<QColor> rowColors_;
  int colorColumn_ = -1;
  QStringList rowToolTips_;
  QVector<QColor> columnColors_;
  QStringList columnToolTips_;
};

class StringGridView : public QTableView {
  Q_OBJECT
 public:
  // rowSelect: whole rows are selected (the series table); otherwise cells and blocks of cells.
  StringGridView(int fixedRows, int fixedColumns, bool rowSelect, QWidget* parent = nullptr);

  const TextGrid& grid() const { return model_->grid(); }
  void setGrid(TextGrid grid);
  void setCell(int row, int column, const QString& text);
  void setRowColors(QVector<QColor> colors, int column = -1) { model_->setRowColors(std::move(colors), column); }
  void setRowToolTips(QStringList toolTips) { model_->setRowToolTips(std::move(toolTips)); }
  void setColumnMarks(QVector<QColor> colors, QStringList toolTips) { model_->setColumnMarks(std::move(colors), std::move(toolTips)); }
  QColor rowColor(int row) const { return model_->rowColor(row); }
  int gridRowCount() const { return model_->grid().rowCount(); }
  int gridColumnCount() const { return model_->grid().columnCount(); }

  // Grid positions of the current cell; -1 when there is none.
  int currentRow() const;
  int currentColumn() const;
  void setCurrentRow(int row);

  // The selected block in grid positions; the current cell when nothing else is selected; all -1
  // after the selection was cancelled. What the copies act on.
  CellRange selection() const;
  // Only the cells the user selected: all -1 when none are, whatever cell is current (focus coming
  // to the table makes its first cell current without selecting it). What a delete acts on.
  CellRange selectedBlock() const;
  void selectBlock(const CellRange& block);
  void cancelSelection();

  // Widths of all grid columns, fixed ones first.
  void setColumnWidths(const QVector<int>& widths);
  int gridColumnWidth(int column) const;
  // Height that shows every row (and the horizontal scroll bar below them when there is one).
  int fullHeight() const;
  // A horizontal scroll bar when the columns are wider than the table; none by default.
  void setHorizontalBarWhenCrowded(bool on);

 signals:
  // The current cell changed, by a click, the keyboard or the program.
  void gridClicked();
  // Ctrl+C was pressed (in any keyboard layout); singleCell tells whether the selection is one cell.
  void copyShortcut(bool singleCell);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void placeCorner();
  void updateHorizontalBar();
  CellRange toGrid(CellRange range) const;

  TextGridModel* model_;
  QLabel* corner_ = nullptr;
  bool resetting_ = false;
  bool barWhenCrowded_ = false;
};

}  // namespace grx
