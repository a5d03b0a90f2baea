#include "StringGridView.h"

#include "ColumnWidths.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>

namespace grx {
namespace {

bool isCopyKey(const QKeyEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return false;
  if (event->key() == Qt::Key_C || event->matches(QKeySequence::Copy)) return true;
  // A layout that types no Latin letter there (Russian: "с") is matched by the key itself: the
  // virtual key on Windows, the key's position elsewhere. A Latin layout is left to its letter.
  if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) return false;
#ifdef Q_OS_WIN
  return event->nativeVirtualKey() == 0x43;  // VK 'C'
#else
  return event->nativeScanCode() == 54;  // the C key's XKB key code (evdev 46 + 8)
#endif
}

}  // namespace

TextGridModel::TextGridModel(int fixedRows, int fixedColumns, QObject* parent)
    : QAbstractTableModel(parent), fixedRows_(fixedRows), fixedColumns_(fixedColumns) {}

void TextGridModel::setGrid(TextGrid grid) {
  beginResetModel();
  grid_ = std::move(grid);
  rowColors_.clear();
  rowToolTips_.clear();
  columnColors_.clear();
  columnToolTips_.clear();
  endResetModel();
}

void TextGridModel::setRowToolTips(QStringList toolTips) { rowToolTips_ = std::move(toolTips); }

void TextGridModel::setColumnMarks(QVector<QColor> colors, QStringList toolTips) {
  columnColors_ = std::move(colors);
  columnToolTips_ = std::move(toolTips);
  if (rowCount() > 0 && columnCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

void TextGridModel::setRowColors(QVector<QColor> colors, int column) {
  if (colors == rowColors_ && column == colorColumn_) return;
  rowColors_ = std::move(colors);
  colorColumn_ = column;
  if (rowCount() > 0 && columnCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

QColor TextGridModel::rowColor(int row) const { return row >= 0 && row < rowColors_.size() ? rowColors_[row] : QColor(); }

void TextGridModel::setCell(int row, int column, const QString& text) {
  if (row < 0 || column < 0 || row >= grid_.rowCount() || column >= grid_.columnCount()) return;
  grid_.cell(row, column) = text;
  if (row < fixedRows_) {
    emit headerDataChanged(Qt::Horizontal, column - fixedColumns_, column - fixedColumns_);
  } else if (column < fixedColumns_) {
    emit headerDataChanged(Qt::Vertical, row - fixedRows_, row - fixedRows_);
  } else {
    const QModelIndex i = index(row - fixedRows_, column - fixedColumns_);
    emit dataChanged(i, i, {Qt::DisplayRole});
  }
}

int TextGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(0, grid_.rowCount() - fixedRows_);
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(0, grid_.columnCount() - fixedColumns_);
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row() + fixedRows_;
  const int column = index.column() + fixedColumns_;
  if (role == Qt::BackgroundRole) {
    const QColor color = rowColor(row);
    if (color.isValid() && (colorColumn_ < 0 || column == colorColumn_)) return color;
    if (column < columnColors_.size() && columnColors_[column].isValid()) return columnColors_[column];
    return {};
  }
  if (role == Qt::ToolTipRole) {
    if (column < columnToolTips_.size() && !columnToolTips_[column].isEmpty()) return columnToolTips_[column];
    if (row < rowToolTips_.size() && !rowToolTips_[row].isEmpty()) return rowToolTips_[row];
    return {};
  }
  if (role != Qt::DisplayRole) return {};
  return grid_.cell(row, column);
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);  // a narrow column shows the start
  if (role == Qt::ToolTipRole && orientation == Qt::Horizontal) {
    const int column = section + fixedColumns_;
    return column < columnToolTips_.size() && !columnToolTips_[column].isEmpty() ? QVariant(columnToolTips_[column]) : QVariant();
  }
  if (role != Qt::DisplayRole) return {};
  QStringList lines;
  if (orientation == Qt::Horizontal) {
    const int column = section + fixedColumns_;
    if (column >= grid_.columnCount()) return {};
    for (int r = 0; r < fixedRows_; ++r) lines << grid_.cell(r, column);
  } else {
    const int row = section + fixedRows_;
    if (row >= grid_.rowCount()) return {};
    for (int c = 0; c < fixedColumns_; ++c) lines << grid_.cell(row, c);
  }
  return lines.join(u'\n');
}

StringGridView::StringGridView(int fixedRows, int fixedColumns, bool rowSelect, QWidget* parent)
    : QTableView(parent), model_(new TextGridModel(fixedRows, fixedColumns, this)) {
  setModel(model_);
  setSelectionBehavior(rowSelect ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setTextElideMode(Qt::ElideNone);  // a narrow column clips its text at the end, as grids do
  setCornerButtonEnabled(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // vertical only, unless told otherwise
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  QFont font(QStringLiteral("Times New Roman"), 10);
  setFont(font);
  QPalette pal = palette();
  pal.setColor(QPalette::Base, pal.color(QPalette::Button));
  setPalette(pal);

  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(kGridRowHeight + 1);
  verticalHeader()->setMinimumSectionSize(kGridRowHeight + 1);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setHighlightSections(false);
  // Headings are fixed cells: a click on them selects nothing (a row label click would otherwise
  // select that row across every impact, and a delete would take them all).
  horizontalHeader()->setSectionsClickable(false);
  verticalHeader()->setSectionsClickable(false);
  horizontalHeader()->setVisible(fixedRows > 0);
  verticalHeader()->setVisible(fixedColumns > 0);
  horizontalHeader()->setFixedHeight(fixedRows * (kGridRowHeight + 1) + 1);
  if (fixedRows > 0 && fixedColumns > 0) {
    corner_ = new QLabel(this);
    corner_->setObjectName(QStringLiteral("cornerCell"));
    corner_->setAutoFillBackground(true);
    corner_->setIndent(3);
    corner_->setFont(font);
  }
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
    if (!resetting_) emit gridClicked();
  });
}

void StringGridView::setGrid(TextGrid grid) {
  resetting_ = true;
  model_->setGrid(std::move(grid));
  resetting_ = false;
  if (corner_) corner_->setText(model_->grid().rowCount() > 0 ? model_->grid().cell(0, 0) : QString());
  placeCorner();
}

void StringGridView::setCell(int row, int column, const QString& text) {
  model_->setCell(row, column, text);
  if (corner_ && row == 0 && column == 0) corner_->setText(text);
}

int StringGridView::currentRow() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() + model_->fixedRows() : -1;
}

int StringGridView::currentColumn() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.column() + model_->fixedColumns() : -1;
}

void StringGridView::setCurrentRow(int row) {
  const int r = row - model_->fixedRows();
  if (r < 0 || r >= model_->rowCount()) return;
  const int c = std::max(0, currentIndex().column());
  selectionModel()->setCurrentIndex(model_->index(r, c),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

CellRange StringGridView::selectedBlock() const {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return {};
  CellRange range{selected.front().column(), selected.front().row(), selected.front().column(), selected.front().row()};
  for (const QModelIndex& i : selected) {
    range.left = std::min(range.left, i.column());
    range.right = std::max(range.right, i.column());
    range.top = std::min(range.top, i.row());
    range.bottom = std::max(range.bottom, i.row());
  }
  return toGrid(range);
}

CellRange StringGridView::selection() const {
  const CellRange block = selectedBlock();
  if (!block.isEmpty()) return block;
  const QModelIndex i = currentIndex();
  return i.isValid() ? toGrid({i.column(), i.row(), i.column(), i.row()}) : CellRange{};
}

// Model positions to grid positions; whole rows in a row-selecting table.
CellRange StringGridView::toGrid(CellRange range) const {
  if (selectionBehavior() == QAbstractItemView::SelectRows) {
    range.left = 0;
    range.right = model_->columnCount() - 1;
  }
  range.left += model_->fixedColumns();
  range.right += model_->fixedColumns();
  range.top += model_->fixedRows();
  range.bottom += model_->fixedRows();
  return range;
}

void StringGridView::selectBlock(const CellRange& block) {
  const int fr = model_->fixedRows();
  const int fc = model_->fixedColumns();
  const QModelIndex topLeft = model_->index(block.top - fr, block.left - fc);
  const QModelIndex bottomRight = model_->index(block.bottom - fr, block.right - fc);
  if (!topLeft.isValid() || !bottomRight.isValid()) return;
  selectionModel()->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
  selectionModel()->select(QItemSelection(topLeft, bottomRight), QItemSelectionModel::ClearAndSelect);
}

void StringGridView::cancelSelection() {
  resetting_ = true;
  selectionModel()->clear();
  resetting_ = false;
}

// A grid's column width leaves out the grid line after the column; Qt counts it in the section.
void StringGridView::setColumnWidths(const QVector<int>& widths) {
  const int fc = model_->fixedColumns();
  int fixedWidth = 0;
  for (int c = 0; c < widths.size(); ++c) {
    const int width = std::max(widths[c], 0) + 1;
    if (c < fc) fixedWidth += width;
    else if (c - fc < model_->columnCount()) horizontalHeader()->resizeSection(c - fc, width);
  }
  if (fc > 0) verticalHeader()->setFixedWidth(fixedWidth);
  updateHorizontalBar();
  placeCorner();
}

int StringGridView::gridColumnWidth(int column) const {
  const int fc = model_->fixedColumns();
  return (column < fc ? verticalHeader()->width() : columnWidth(column - fc)) - 1;
}

// The impacts table is as high as its rows. When its columns cannot fit even at their smallest, a
// horizontal scroll bar is added below the rows rather than over the last one.
void StringGridView::setHorizontalBarWhenCrowded(bool on) {
  barWhenCrowded_ = on;
  updateHorizontalBar();
}

void StringGridView::updateHorizontalBar() {
  if (!barWhenCrowded_) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return;
  }
  const int contents = horizontalHeader()->length() + (verticalHeader()->isVisible() ? verticalHeader()->width() : 0);
  const bool needed = contents > width() - 2 * frameWidth();
  setHorizontalScrollBarPolicy(needed ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

int StringGridView::fullHeight() const {
  const int bar = horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn ? horizontalScrollBar()->sizeHint().height() : 0;
  return gridRowCount() * (kGridRowHeight + 1) + 4 + bar;
}

bool StringGridView::event(QEvent* event) {
  // Ctrl+C belongs to the grid, whatever shortcut a window around it may have.
  if (event->type() == QEvent::ShortcutOverride && isCopyKey(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QTableView::event(event);
}

void StringGridView::keyPressEvent(QKeyEvent* event) {
  if (isCopyKey(event)) {
    emit copyShortcut(selection().isSingleCell());
    event->accept();
    return;
  }
  // Select-all is no command of these grids: a selection the user did not make must never reach
  // a delete.
  if (event->matches(QKeySequence::SelectAll)) {
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

// Only the left button selects. A right click opens the pop-up menu over the selection as it
// stands, so the menu's commands act on what the user selected.
void StringGridView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->accept();
    return;
  }
  const QModelIndex before = currentIndex();
  QTableView::mousePressEvent(event);
  // A click on the cell that is already current is a click all the same.
  const QModelIndex hit = indexAt(event->position().toPoint());
  if (hit.isValid() && currentIndex() == before && !resetting_) emit gridClicked();
}

void StringGridView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->accept();
    return;
  }
  QTableView::mouseReleaseEvent(event);
}

void StringGridView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->accept();
    return;
  }
  QTableView::mouseDoubleClickEvent(event);
}

void StringGridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  placeCorner();
}

void StringGridView::placeCorner() {
  if (!corner_) return;
  corner_->setGeometry(frameWidth(), frameWidth(), verticalHeader()->width(), horizontalHeader()->height());
  corner_->raise();
}

}  // namespace grx
