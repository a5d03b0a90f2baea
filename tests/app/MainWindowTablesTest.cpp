// The two tables of the main window with a measurement set loaded: what they show, what clicks do,
// and what Ctrl+C puts on the clipboard.
#include "app/MainActions.h"
#include "data/TextForms.h"
#include "export/ClipboardText.h"
#include "support/MainWindowFixture.h"
#include "support/RecordBuilder.h"
#include "views/StringGridView.h"
#include "views/TableText.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

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
};

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
