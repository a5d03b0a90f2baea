// The main window's two measurement tables: filling them from the measurement set, their clicks,
// their layout and the clipboard copies.
#include "TForm1.h"

#include "control/MainWindowControl.h"

#include "data/TextForms.h"
#include "export/ClipboardText.h"
#include "platform/Messages.h"
#include "views/ColumnWidths.h"
#include "views/StringGridView.h"
#include "views/TableText.h"

#include <QClipboard>
#include <QSplitter>
#include <QGuiApplication>

#include <exception>

namespace grx {

void TForm1::RebuildTables() {
  const Language language = currentLanguage();
  if (set_->isEmpty()) {
    StringGrid1->setGrid(seriesTableText(*set_, language));
    // The impacts table keeps its row 0; column 1 is emptied and the table shrinks to two columns.
    TextGrid impacts = impactsTableText(*set_, 0, language);
    const TextGrid& old = StringGrid2->grid();
    impacts.cell(0, 0) = old.cell(0, 0);
    if (old.columnCount() > 1) impacts.cell(0, 1) = old.cell(0, 1);
    StringGrid2->setGrid(std::move(impacts));
    FormResize();
    ControlPart->refresh();
    return;
  }
  StringGrid1->setGrid(seriesTableText(*set_, language));
  // Making row 2 current is a click on the series table: it fills the impacts table with series 0
  // and clears the impacts table's selection, which is all the rebuild has left to do.
  StringGrid1->blockSignals(true);
  StringGrid1->setCurrentRow(kSeriesTableHeaderRows);
  StringGrid1->blockSignals(false);
  FillImpactsTable(0);
  AStringGridSelectCancel(StringGrid2);
  ControlPart->refresh();
}

void TForm1::FillImpactsTable(std::uint32_t k) {
  if (k >= set_->seriesCount()) return;
  const std::uint32_t first = set_->seriesRun(set_->seriesStart(k)).first;
  try {
    StringGrid2->setGrid(impactsTableText(*set_, k, currentLanguage()));
  } catch (const std::exception&) {
    ui().message(this, {kAppTitle.text(), QStringLiteral("Ошибка данных (таблица 2)"), ModalUi::Icon::None, ModalUi::Ok,
                        ModalUi::Ok});
  }
  set_->setCurrentIndex(first);
  ControlPart->markImpactFlags(k);
  if (drawImpact) drawImpact(first);
  FormResize();
}

void TForm1::StringGrid1Click() {
  if (set_->isEmpty()) return;
  const int row = StringGrid1->currentRow();
  if (row < kSeriesTableHeaderRows) return;
  FillImpactsTable(std::uint32_t(row - kSeriesTableHeaderRows));
  AStringGridSelectCancel(StringGrid2);
}

void TForm1::StringGrid2Click() {
  if (set_->isEmpty()) return;
  const int row = StringGrid1->currentRow();
  const int column = StringGrid2->currentColumn();
  if (row < kSeriesTableHeaderRows || std::uint32_t(row - kSeriesTableHeaderRows) >= set_->seriesCount() || column < 1)
    return;
  const std::uint32_t i = set_->seriesStart(std::uint32_t(row - kSeriesTableHeaderRows)) + std::uint32_t(column - 1);
  if (i >= set_->count()) return;
  set_->setCurrentIndex(i);
  if (drawImpact) drawImpact(i);
  StringGrid2->setCell(0, 0, dateTimeText(set_->view(i)));
}

void TForm1::AStringGridSelectCancel(StringGridView* grid) { grid->cancelSelection(); }

void TForm1::LayOutTables() {
  const Language language = currentLanguage();
  // Series table: widths by weight, a scroll bar only when the rows need one.
  const bool scrollBar = seriesTableNeedsScrollBar(StringGrid1->gridRowCount(), StringGrid1->height());
  StringGrid1->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  StringGrid1->setColumnWidths(seriesColumnWidths(StringGrid1->width(), scrollBar));
  TextGrid headings(kSeriesTableHeaderRows, kSeriesTableColumns);
  writeSeriesTableHeadings(headings, language);
  for (int r = 0; r < kSeriesTableHeaderRows; ++r)
    for (int c = 0; c < kSeriesTableColumns; ++c)
      if (!headings.cell(r, c).isEmpty() && StringGrid1->grid().cell(r, c) != headings.cell(r, c))
        StringGrid1->setCell(r, c, headings.cell(r, c));

  // Impacts table: 150 pixels of labels, the impacts share the rest.
  const int columns = StringGrid2->gridColumnCount();
  StringGrid2->setColumnWidths(impactsColumnWidths(StringGrid2->width(), Splitter1->handleWidth(), columns));
  if (StringGrid2->height() != StringGrid2->fullHeight()) layOutRightPane();  // a scroll bar came or went
  for (int c = 1; c < columns; ++c) {
    const QString heading = impactHeading(c, language);
    if (StringGrid2->grid().cell(0, c) != heading) StringGrid2->setCell(0, c, heading);
  }
  TextGrid labels(kImpactsTableRows, 1);
  writeImpactsTableLabels(labels, language);
  for (int r = 1; r < kImpactsTableRows; ++r)
    if (StringGrid2->grid().cell(r, 0) != labels.cell(r, 0)) StringGrid2->setCell(r, 0, labels.cell(r, 0));
}

void TForm1::ADelImpactExecute() {
  if (set_->isEmpty()) return showNoData();
  const int row = StringGrid1->currentRow();
  // Only impacts the user selected go; the current cell alone is no selection.
  const CellRange selected = StringGrid2->selectedBlock();
  const int columns = StringGrid2->gridColumnCount();
  if (row >= kSeriesTableHeaderRows && !selected.isEmpty()) {
    const auto k = std::uint32_t(row - kSeriesTableHeaderRows);
    if (selected.left == 1 && selected.right == columns - 1) {
      set_->removeSeries(k, k);  // every impact of the series
    } else if (selected.left >= 1 && selected.left <= selected.right && selected.right <= columns - 1) {
      set_->removeImpacts(k, std::uint32_t(selected.left - 1), std::uint32_t(selected.right - selected.left + 1));
    }
  }
  RebuildTables();
  restoreSeriesRow(row);
}

void TForm1::ADelSeriesExecute() {
  if (set_->isEmpty()) return showNoData();
  const int row = StringGrid1->currentRow();
  const CellRange selected = StringGrid1->selectedBlock();
  if (!selected.isEmpty() && selected.top >= kSeriesTableHeaderRows)
    set_->removeSeries(std::uint32_t(selected.top - kSeriesTableHeaderRows),
                       std::uint32_t(selected.bottom - kSeriesTableHeaderRows));
  RebuildTables();
  restoreSeriesRow(row);
}

// After an edit the row the user was on becomes current again, or the last row when it is gone;
// the change counts as a click, so the impacts table shows that row's series.
void TForm1::restoreSeriesRow(int row) {
  const int rows = StringGrid1->gridRowCount();
  StringGrid1->setCurrentRow(row < rows ? std::max(row, int(kSeriesTableHeaderRows)) : rows - 1);
}

void TForm1::showNoData() {
  ui().message(this, {kAppTitle.text(), kNoData.text(), ModalUi::Icon::None, ModalUi::Ok, ModalUi::Ok});
}

void TForm1::putOnClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void TForm1::ACopyTable1Execute() {
  if (set_->isEmpty()) return showNoData();
  putOnClipboard(tableCopyText(StringGrid1->grid()));
}

void TForm1::ACopyBlockTable1Execute() {
  if (set_->isEmpty()) return showNoData();
  putOnClipboard(tableCopyText(StringGrid1->grid(), StringGrid1->selection()));
}

void TForm1::ACopyTable2Execute() { putOnClipboard(tableCopyText(StringGrid2->grid())); }

void TForm1::ACopyBlockTable2Execute() {
  if (set_->isEmpty()) return showNoData();
  putOnClipboard(tableCopyText(StringGrid2->grid(), StringGrid2->selection()));
}

void TForm1::selectSeriesRow(std::uint32_t k) {
  if (k >= set_->seriesCount()) return;
  const int row = kSeriesTableHeaderRows + int(k);
  if (StringGrid1->currentRow() == row) StringGrid1Click();  // a click on the current row fills again
  else StringGrid1->setCurrentRow(row);                       // another row: the change is the click
  StringGrid1->scrollTo(StringGrid1->model()->index(int(k), 0));
}

}  // namespace grx
