// The two tables of the main window with a measurement set loaded: what they show, what clicks do,
// and what Ctrl+C puts on the clipboard.
#include "app/MainActions.h"
#include "data/ProjectFile.h"
#include "data/TextForms.h"
#include "export/ClipboardText.h"
#include "support/MainWindowFixture.h"
#include "support/RecordBuilder.h"
#include "views/StringGridView.h"
#include "views/TableText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace grx {
namespace {

using test::RecordBuilder;

class MainWindowTables : public test::MainWindowFixture {
 protected:
  TForm1& startWithData() {
    writeIni("[Config]\r\nLangId=Rus\r\n");
    TForm1& form = start();
    form.resize(900, 600);
    std::vector<RecordBuilder> records;
    for (int j = 0; j < 3; ++j) records.push_back(RecordBuilder().series(4, j + 1).stamp(1, 2, 25, 10, j, 0));
    records.push_back(RecordBuilder().series(9).stamp(2, 2, 25, 11, 0, 0).peaks(-1, 1, 0.0f, 0));
    for (int j = 0; j < 2; ++j) records.push_back(RecordBuilder().series(10, j + 1).stamp(3, 2, 25, 12, j, 0));
    test::fillSet(form.measurements(), records);
    form.RebuildTables();
    return form;
  }
  QString clipboard() const { return QGuiApplication::clipboard()->text(); }
  // The centre of a data cell (grid positions, fixed rows and columns counted).
  static QPoint cellCentre(StringGridView* grid, int row, int column, int fixedRows, int fixedColumns) {
    return grid->visualRect(grid->model()->index(row - fixedRows, column - fixedColumns)).center();
  }
  static void clickHeader(QHeaderView* header, int section, Qt::MouseButton button = Qt::LeftButton) {
    const int middle = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
    const QPoint at = header->orientation() == Qt::Horizontal ? QPoint(middle, header->height() / 2)
                                                               : QPoint(header->width() / 2, middle);
    QTest::mouseClick(header->viewport(), button, {}, at);
  }
};

// Fixed cells, select-all and the right button select nothing: a delete afterwards removes exactly
// the impact the user had selected.
TEST_F(MainWindowTables, GesturesThatAreNoSelectionLeaveItForTheDelete) {
  struct Case {
    const char* gesture;
    std::function<void(TForm1&)> run;
  };
  const Case cases[] = {
      {"click on a row label", [](TForm1& f) { clickHeader(f.StringGrid2->verticalHeader(), 2); }},
      {"click on an impact heading", [](TForm1& f) { clickHeader(f.StringGrid2->horizontalHeader(), 0); }},
      {"click on a series heading", [](TForm1& f) { clickHeader(f.StringGrid1->horizontalHeader(), 3); }},
      {"Ctrl+A in the impacts table", [](TForm1& f) { QTest::keyClick(f.StringGrid2, Qt::Key_A, Qt::ControlModifier); }},
      {"Ctrl+A in the series table", [](TForm1& f) { QTest::keyClick(f.StringGrid1, Qt::Key_A, Qt::ControlModifier); }},
      {"right click on another impact",
       [](TForm1& f) { QTest::mouseClick(f.StringGrid2->viewport(), Qt::RightButton, {}, cellCentre(f.StringGrid2, 3, 3, 1, 1)); }},
      {"right click on another series",
       [](TForm1& f) { QTest::mouseClick(f.StringGrid1->viewport(), Qt::RightButton, {}, cellCentre(f.StringGrid1, 4, 1, 2, 0)); }},
  };
  for (const Case& c : cases) {
    TForm1& form = startWithData();
    form.show();
    form.StringGrid2->selectBlock({2, 1, 2, 1});  // the second impact of series 4
    const CellRange series = form.StringGrid1->selection();
    const CellRange impacts = form.StringGrid2->selection();
    c.run(form);
    EXPECT_EQ(form.StringGrid1->selection(), series) << c.gesture;
    EXPECT_EQ(form.StringGrid2->selection(), impacts) << c.gesture;
    form.Actions->ADelImpact->trigger();
    EXPECT_EQ(form.measurements().count(), 5u) << c.gesture;
    if (form.measurements().count() < 3) continue;
    EXPECT_EQ(form.measurements().view(1).seriesNumber(), 4u) << c.gesture;
    EXPECT_EQ(form.measurements().view(1).impactNumber(), 3u) << c.gesture;  // impact 2 went
    EXPECT_EQ(form.measurements().view(2).seriesNumber(), 9u) << c.gesture;
  }
}

TEST_F(MainWindowTables, AClickOnTheCurrentSeriesRowClearsTheImpactSelection) {
  TForm1& form = startWithData();
  form.show();
  form.StringGrid2->selectBlock({2, 1, 3, 1});
  const int column = form.StringGrid1->currentColumn();  // the very cell that is current
  QTest::mouseClick(form.StringGrid1->viewport(), Qt::LeftButton, {}, cellCentre(form.StringGrid1, 2, column, 2, 0));
  EXPECT_EQ(form.StringGrid1->currentRow(), 2);
  EXPECT_TRUE(form.StringGrid2->selection().isEmpty());
  form.Actions->ADelImpact->trigger();
  EXPECT_EQ(form.measurements().count(), 6u);  // a delete right after the click removes nothing
}

// With no impact selected the pop-up menu's delete removes nothing, though focus coming to the
// impacts table (by Tab, or back from the pop-up menu) makes its first cell current.
TEST_F(MainWindowTables, ThePopUpDeleteWithNoImpactSelectedRemovesNothing) {
  for (const int seriesRow : {0, 4, 2}) {  // 0: a file is opened instead of a click on a series row
    TForm1& form = startWithData();
    const QString file = dir_.filePath(QStringLiteral("six.grx"));
    ASSERT_EQ(writeProjectFile(form.measurements(), file), ProjectWriteResult::Ok);
    form.show();
    QApplication::setActiveWindow(&form);
    form.StringGrid2->selectBlock({2, 1, 2, 1});
    ui_.fileAnswers = {file};
    if (seriesRow) QTest::mouseClick(form.StringGrid1->viewport(), Qt::LeftButton, {}, cellCentre(form.StringGrid1, seriesRow, 1, 2, 0));
    else form.Actions->AOpen->trigger();
    form.StringGrid2->setFocus(Qt::TabFocusReason);
    QWidget* viewport = form.StringGrid2->viewport();
    const QPoint at = cellCentre(form.StringGrid2, 3, 1, 1, 1);
    QTest::mouseClick(viewport, Qt::RightButton, {}, at);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QCoreApplication::sendEvent(viewport, &menuEvent);
    QMenu* menu = form.Actions->PopupMenuTable2;
    ASSERT_TRUE(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(form.Actions->ADelImpact).center());
    EXPECT_EQ(form.measurements().count(), 6u) << seriesRow;
  }
}

// Ctrl+C copies in any keyboard layout: a Russian layout types "с" on the C key.
TEST_F(MainWindowTables, CtrlCCopiesInAnyKeyboardLayout) {
  struct Case {
    int key;
    quint32 scanCode;
    const char* text;
    bool copies;
  };
  const Case cases[] = {
      {Qt::Key_C, 54, "c", true},
      {0x0421, 54, "\xd1\x81", true},  // Cyrillic ES on the C key
      {Qt::Key_J, 54, "j", false},      // a Latin layout with another letter there
      {0x0421, 0, "\xd1\x81", false},  // the letter alone, from another key
  };
  TForm1& form = startWithData();
  form.show();
  for (const Case& c : cases) {
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    // X11 reports the key's position as its scan code, Windows as the virtual key 'C'.
    QKeyEvent press(QEvent::KeyPress, c.key, Qt::ControlModifier, c.scanCode, c.scanCode == 54 ? 0x43 : 0, 0,
                    QString::fromUtf8(c.text));
    QCoreApplication::sendEvent(form.StringGrid1, &press);
    EXPECT_EQ(clipboard() != "untouched", c.copies) << c.key << " " << c.scanCode;
  }
}

// Qt's own buttons speak the program's language and follow a switch.
TEST_F(MainWindowTables, StandardButtonsFollowTheLanguage) {
  writeIni("[Config]\r\nLangId=Rus\r\n");
  TForm1& form = start();
  auto yesText = [] {
    QMessageBox box;
    return box.addButton(QMessageBox::Yes)->text();
  };
  EXPECT_EQ(yesText(), QStringLiteral("&Да"));
  form.ALangEngExecute();
  EXPECT_EQ(yesText(), "&Yes");
  form.ALangRusExecute();
  EXPECT_EQ(yesText(), QStringLiteral("&Да"));
}

TEST_F(MainWindowTables, ALoadedSetIsShownFromTheFirstSeries) {
  TForm1& form = startWithData();
  const MeasurementSet& set = form.measurements();
  EXPECT_EQ(form.StringGrid1->gridRowCount(), 5);
  EXPECT_EQ(form.StringGrid1->currentRow(), 2);
  const TextGrid expectedSeries = seriesTableText(set, Language::Russian);
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 10; ++c) EXPECT_EQ(form.StringGrid1->grid().cell(r, c), expectedSeries.cell(r, c)) << r << "," << c;
  EXPECT_EQ(form.StringGrid2->gridColumnCount(), 4);
  EXPECT_EQ(form.StringGrid2->grid().cell(0, 0), "01.02.2025, 10:00:00");
  EXPECT_EQ(form.StringGrid2->grid().cell(0, 3), QStringLiteral("3-й удар"));
  EXPECT_EQ(form.measurements().currentIndex(), 0u);
  EXPECT_TRUE(form.StringGrid2->selection().isEmpty());
}

TEST_F(MainWindowTables, ClickingASeriesShowsItsImpactsAndClickingAnImpactSelectsIt) {
  TForm1& form = startWithData();
  std::vector<std::uint32_t> drawn;
  form.drawImpact = [&drawn](std::uint32_t i) { drawn.push_back(i); };

  form.StringGrid1->setCurrentRow(3);  // series 9: one impact with a zero velocity minimum
  EXPECT_EQ(form.StringGrid2->gridColumnCount(), 2);
  EXPECT_EQ(form.StringGrid2->grid().cell(3, 1), "NAN");
  EXPECT_EQ(form.measurements().currentIndex(), 3u);
  EXPECT_TRUE(form.StringGrid2->selection().isEmpty());

  form.StringGrid1->setCurrentRow(4);  // series 10
  ASSERT_EQ(form.StringGrid2->gridColumnCount(), 3);
  form.StringGrid2->selectBlock({2, 1, 2, 1});  // the second impact
  EXPECT_EQ(form.measurements().currentIndex(), 5u);
  EXPECT_EQ(form.StringGrid2->grid().cell(0, 0), "03.02.2025, 12:01:00");
  EXPECT_EQ(drawn, (std::vector<std::uint32_t>{3, 4, 5}));
}

TEST_F(MainWindowTables, CtrlCCopiesTheSelectionOrTheWholeTable) {
  TForm1& form = startWithData();
  form.show();
  // The series table selects whole rows, so Ctrl+C copies the selected rows.
  form.StringGrid1->setCurrentRow(3);
  QTest::keyClick(form.StringGrid1, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard(), tableCopyText(form.StringGrid1->grid(), {0, 3, 9, 3}));
  EXPECT_TRUE(clipboard().startsWith(QStringLiteral("9/1\t02.02.2025\t")));

  form.StringGrid1->setCurrentRow(2);
  form.StringGrid2->selectBlock({2, 3, 2, 3});  // one cell: the whole table goes
  QTest::keyClick(form.StringGrid2, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(clipboard(), tableCopyText(form.StringGrid2->grid()));
  EXPECT_EQ(clipboard().count(QStringLiteral("\r\n")), 8);

  form.StringGrid2->selectBlock({1, 1, 3, 2});  // a block: only its cells
  QTest::keyClick(form.StringGrid2, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard(), QStringLiteral("40,0\t40,0\t40,0\r\n80,0\t80,0\t80,0\r\n"));
}

TEST_F(MainWindowTables, CopiesOfAnEmptySetSayNoData) {
  writeIni("[Config]\r\nLangId=Eng\r\n");
  TForm1& form = start();
  QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
  form.Actions->ACopyTable1->trigger();
  form.Actions->ACopyBlockTable1->trigger();
  form.Actions->ACopyBlockTable2->trigger();
  ASSERT_EQ(ui_.messages.size(), 3u);
  for (const auto& m : ui_.messages) {
    EXPECT_EQ(m.text, "No Data");
    EXPECT_EQ(m.title, "GRX-1");
  }
  EXPECT_EQ(clipboard(), "untouched");
  // The impacts table copy has no such check: it copies the headings it shows.
  form.Actions->ACopyTable2->trigger();
  EXPECT_EQ(ui_.messages.size(), 3u);
  EXPECT_TRUE(clipboard().contains("Din.modulus, MPa")) << clipboard().toStdString();
}

TEST_F(MainWindowTables, AnEmptyingRebuildLeavesHeadingsAndOneEmptyRow) {
  TForm1& form = startWithData();
  form.measurements().clear();
  form.RebuildTables();
  EXPECT_EQ(form.StringGrid1->gridRowCount(), 3);
  for (int c = 0; c < 10; ++c) EXPECT_TRUE(form.StringGrid1->grid().cell(2, c).isEmpty());
  EXPECT_EQ(form.StringGrid2->gridColumnCount(), 2);
  EXPECT_EQ(form.StringGrid2->grid().cell(0, 0), "01.02.2025, 10:00:00");  // row 0 is left as it was
  for (int r = 1; r < 8; ++r) EXPECT_TRUE(form.StringGrid2->grid().cell(r, 1).isEmpty());
  // clicks on an empty set do nothing
  form.StringGrid1->setCurrentRow(2);
  EXPECT_EQ(form.StringGrid2->gridColumnCount(), 2);
}

}  // namespace
}  // namespace grx
