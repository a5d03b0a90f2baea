// The compaction control window driven as a user drives it: a requirement typed into its table,
// the series rows and the lot table coloured by their verdicts, a click on a chart point, the
// table copy, and the requirements file kept across starts and safe from a damaged import.
#include "app/MainActions.h"
#include "control/ControlPlot.h"
#include "control/MainWindowControl.h"
#include "control/TfrmControl.h"
#include "report/ReportPreview.h"
#include "support/MainWindowFixture.h"
#include "support/RecordBuilder.h"
#include "views/StringGridView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <cstring>
#include <limits>

namespace grx {
namespace {

const QColor kPass(198, 239, 206);
const QColor kFail(255, 190, 190);

class ControlWindow : public test::MainWindowFixture {
 protected:
  QString setupPath() const { return dir_.filePath(QStringLiteral("GRX1-control.json")); }
  // Three series: Base/Sand 50 MPa at 11:00 and 30 MPa at 10:00, Base/Clay 45 MPa; by default one
  // requirement of 40 MPa for any object and material.
  TfrmControl& open(const char* requirements = R"({"requirements": [{"object": "*", "material": "*", "minDynamic": 40}]})") {
    writeIni("[Config]\r\nLangId=Eng\r\n");
    EXPECT_TRUE(test::writeFileBytes(setupPath(), requirements));
    TForm1& form = start();
    const std::tuple<const char*, float, int> series[] = {{"Sand", 50, 11}, {"Sand", 30, 10}, {"Clay", 45, 12}};
    std::vector<test::RecordBuilder> records;
    for (int k = 0; k < 3; ++k)
      records.push_back(test::RecordBuilder().series(k + 1).stamp(1, 6, 26, std::get<2>(series[k]), 0, 0).object("Base")
                            .soil(std::get<0>(series[k])).moduli(std::get<1>(series[k]), 90));
    test::fillSet(form.measurements(), records);
    form.RebuildTables();
    form.show();
    form.Actions->ACompactionControl->trigger();
    QApplication::setActiveWindow(form.ControlPart->window());
    return *form.ControlPart->window();
  }
  static QColor background(StringGridView* grid, int row, int column, int fixedRows) {
    return grid->model()->index(row - fixedRows, column).data(Qt::BackgroundRole).value<QColor>();
  }
  QVector<QColor> seriesColors() const {
    return {background(form_->StringGrid1, 2, 0, 2), background(form_->StringGrid1, 3, 5, 2), background(form_->StringGrid1, 4, 9, 2)};
  }
  // Typing over a cell: the first key opens its editor with that key, Return keeps the text. (A
  // click on the current cell would open its editor a moment later instead.) An editor already
  // open takes the whole text.
  static void typeInto(QTableView* table, int row, int column, const QString& text) {
    const QModelIndex cell = table->model()->index(row, column);
    auto* editor = table->viewport()->findChild<QLineEdit*>();
    if (!editor && table->currentIndex() != cell) QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
    if (!editor) QTest::keyClick(table, text.front().toLatin1());
    const QString rest = editor ? text : text.mid(1);
    editor = table->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, rest);
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor's commit comes from the event queue, and a refusal's message after it.
    for (int i = 0; i < 2; ++i) QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // and the editor is gone
  }
};

TEST_F(ControlWindow, ATypedRequirementColoursRowsAndLotsAndAChartPointSelectsItsSeries) {
  TfrmControl& window = open();
  EXPECT_EQ(seriesColors(), QVector<QColor>({kPass, kFail, kPass}));
  const int verdict = window.StringGridLots->gridColumnCount() - 1;
  EXPECT_EQ(background(window.StringGridLots, 1, verdict, 1), kFail);  // Base/Sand: 30 < 40
  EXPECT_EQ(background(window.StringGridLots, 2, verdict, 1), kPass);
  EXPECT_EQ(background(window.StringGridLots, 1, 0, 1), kFail);  // the whole row

  typeInto(window.tableRequirements, 0, 2, QStringLiteral("25"));
  EXPECT_EQ(seriesColors(), QVector<QColor>({kPass, kPass, kPass}));
  EXPECT_EQ(background(window.StringGridLots, 1, verdict, 1), kPass);
  typeInto(window.tableRequirements, 0, 2, QStringLiteral("2x5"));
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "Required dyn. modulus, MPa: \"2x5\" is not accepted: a number above zero is needed, "
                                   "such as 80 or 12,5. The previous value is kept.");
  EXPECT_EQ(window.tableRequirements->model()->index(0, 2).data().toString(), "25");

  // The chart puts the lot's points in time order: the first is the 10:00 series, row 3.
  QTest::mouseClick(window.ChartLot, Qt::LeftButton, {}, window.ChartLot->pointPixel(0));
  EXPECT_EQ(form_->StringGrid1->currentRow(), 3);
  EXPECT_EQ(form_->measurements().currentIndex(), 1u);

  QTest::mouseClick(window.btnCopyLots, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            "№\tObject\tMaterial\tn\tMean, MPa\ts, MPa\tCV, %\tMin, MPa\tMax, MPa\tBelow\tBelow, %\tCharacteristic, MPa\t"
            "Required, MPa\tVerdict\r\n"
            "1\tBase\tSand\t2\t40,0\t14,1\t35,4\t30,0\t50,0\t0\t0\t21,9\t25,0\tpass\r\n"
            "2\tBase\tClay\t1\t45,0\t-\t-\t45,0\t45,0\t0\t0\t-\t25,0\tpass\r\n");

  form_->Actions->ALangRus->trigger();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Контроль уплотнения"));
  EXPECT_EQ(window.StringGridLots->grid().cell(1, verdict), QStringLiteral("соответствует"));
  EXPECT_EQ(seriesColors(), QVector<QColor>({kPass, kPass, kPass}));
}

TEST_F(ControlWindow, RequirementsAreKeptInTheFileAndADamagedImportChangesNothing) {
  TfrmControl& window = open();
  typeInto(window.tableRequirements, 0, 3, QStringLiteral("85,5"));  // the static modulus
  ControlSetup kept;
  ASSERT_EQ(readControlSetup(setupPath(), kept).status, SetupReadResult::Ok);
  ASSERT_EQ(kept.requirements.size(), 1);
  EXPECT_EQ(kept.requirements[0].minStatic, 85.5);
  const QByteArray bytes = test::readFileBytes(setupPath());

  const QString damaged = dir_.filePath(QStringLiteral("damaged.json"));
  ASSERT_TRUE(test::writeFileBytes(damaged, R"({"requirements": [{"object": "*", "material": "*", "minDynamic": -40}]})"));
  ui_.fileAnswers = {damaged};
  QTest::mouseClick(window.btnImport, Qt::LeftButton);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, R"(damaged.json is not loaded: requirement 1 (object "*", material "*"): minDynamic must be above 0)");
  EXPECT_EQ(ui_.fileDialogs[0].filters.first(), "JSON (*.json)");
  EXPECT_EQ(test::readFileBytes(setupPath()), bytes);
  EXPECT_EQ(form_->ControlPart->setup(), kept);
  EXPECT_EQ(window.tableRequirements->model()->index(0, 3).data().toString(), "85,5");

  start();  // the next start reads what was kept
  EXPECT_EQ(form_->ControlPart->setup(), kept);
}

// What could not be judged is amber with its reason; the verdict shows beside the names at the
// window's size; a series chosen in the main window selects its lot; flagged impacts are marked.
TEST_F(ControlWindow, UndecidedRowsAreAmberWithTheirReasonAndTheLotFollowsTheSeriesTable) {
  TfrmControl& window = open();
  auto& set = form_->measurements();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::memcpy(set.record(2) + rec::DynamicModulus, &nan, 4);  // Base/Clay's only impact
  form_->RebuildTables();
  const QColor amber(255, 226, 150);
  EXPECT_EQ(seriesColors(), QVector<QColor>({kPass, kFail, amber}));
  const QAbstractItemModel* series = form_->StringGrid1->model();
  EXPECT_EQ(series->index(2, 0).data(Qt::ToolTipRole).toString(), "non-finite modulus in impact 1");
  const int verdict = window.StringGridLots->gridColumnCount() - 1;
  EXPECT_EQ(background(window.StringGridLots, 2, 0, 1), amber);
  EXPECT_EQ(window.StringGridLots->grid().cell(2, verdict), "undecided (incomplete: 3/1 not decided)");
  EXPECT_EQ(window.StringGridLots->model()->index(1, 4).data(Qt::ToolTipRole).toString(), "incomplete: 3/1 not decided");
  const QHeaderView* header = window.StringGridLots->horizontalHeader();
  EXPECT_EQ(header->visualIndex(verdict), 3);
  EXPECT_LE(header->sectionViewportPosition(verdict) + header->sectionSize(verdict), window.StringGridLots->viewport()->width());

  // A click on Base/Clay's row in the series table: its lot becomes current, its impact is marked.
  QWidget* rows = form_->StringGrid1->viewport();
  QTest::mouseClick(rows, Qt::LeftButton, {}, form_->StringGrid1->visualRect(series->index(2, 1)).center());
  EXPECT_EQ(window.StringGridLots->currentRow(), 2);
  const QAbstractItemModel* impacts = form_->StringGrid2->model();
  EXPECT_EQ(impacts->index(0, 0).data(Qt::ToolTipRole).toString(),
            "duration 0,0 ms outside 16,0–19,0 ms; non-finite modulus");  // no force stored: no duration
  EXPECT_EQ(impacts->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), amber);
}

TEST_F(ControlWindow, RemoveTakesSelectedRowsOnlyAndCtrlZOrUndoPutsThemBackIntoTheFile) {
  TfrmControl& window = open();
  QTableView* table = window.tableRequirements;
  const QByteArray untouched = test::readFileBytes(setupPath()), kept = controlSetupJson(form_->ControlPart->setup());
  QTest::mouseClick(window.btnRemoveRequirement, Qt::LeftButton);  // no row selected
  EXPECT_EQ(table->model()->rowCount(), 1);
  EXPECT_EQ(test::readFileBytes(setupPath()), untouched);
  EXPECT_FALSE(window.btnUndoRemoval->isEnabled());
  for (const bool byKey : {true, false}) {
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(0, 1)).center());
    QTest::mouseClick(window.btnRemoveRequirement, Qt::LeftButton);
    EXPECT_EQ(table->model()->rowCount(), 0);
    EXPECT_EQ(test::readFileBytes(setupPath()), controlSetupJson({}));
    if (byKey) QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
    else QTest::mouseClick(window.btnUndoRemoval, Qt::LeftButton);
    EXPECT_EQ(table->model()->index(0, 2).data().toString(), "40") << byKey;
    EXPECT_EQ(test::readFileBytes(setupPath()), kept) << byKey;
    EXPECT_FALSE(window.btnUndoRemoval->isEnabled());
  }
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(ControlWindow, NamesOfAnotherRowAreRefusedWhenTyped) {
  TfrmControl& window = open();
  QTest::mouseClick(window.btnAddRequirement, Qt::LeftButton);  // Base/Sand, the lot in view: its value is typed
  typeInto(window.tableRequirements, 1, 2, QStringLiteral("45"));
  typeInto(window.tableRequirements, 0, 0, QStringLiteral("Base"));
  typeInto(window.tableRequirements, 0, 1, QStringLiteral("Sand"));
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, R"(Object "Base" and material "Sand" are already in row 2. The previous value is kept.)");
  EXPECT_EQ(window.tableRequirements->model()->index(0, 1).data().toString(), "*");
  ControlSetup kept;
  ASSERT_EQ(readControlSetup(setupPath(), kept).status, SetupReadResult::Ok);
  EXPECT_EQ(kept.requirements, QList<Requirement>({{"Base", "*", 40, {}, {}, {}, {}}, {"Base", "Sand", 45, {}, {}, {}, {}}}));
}

TEST_F(ControlWindow, AFileRefusedAtStartIsSaidOnceAndKeptAsItIs) {
  const char* refused = R"({"requirements": [{"object": "*", "material": "*", "minDynamic": 40, "maxSV": 5}]})";
  TfrmControl& window = open(refused);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, R"(GRX1-control.json is not loaded: requirement 1: unknown key "maxSV")");
  QTest::mouseClick(window.btnAddRequirement, Qt::LeftButton);
  typeInto(window.tableRequirements, 0, 2, QStringLiteral("45"));
  EXPECT_EQ(form_->ControlPart->setup().requirements.size(), 1);
  EXPECT_EQ(test::readFileBytes(setupPath()), refused);
  EXPECT_EQ(ui_.messages.size(), 1u);
  EXPECT_TRUE(window.findChild<QLabel*>("labelRefused")->isVisible());
}

// The window's protocol button shows the acceptance protocol of the measurements in the preview.
TEST_F(ControlWindow, TheProtocolButtonShowsTheAcceptanceProtocol) {
  TfrmControl& window = open();
  QStringList shown;
  form_->runDialog = [&](QDialog& d) {
    if (auto* p = qobject_cast<ReportPreview*>(&d))
      for (const PlacedText& t : p->report().pages.value(0).texts) shown << t.text();
  };
  QTest::mouseClick(window.btnProtocol, Qt::LeftButton);
  EXPECT_EQ(shown.value(0), "Acceptance protocol");
  EXPECT_TRUE(shown.contains("Base")) << shown.join('|').toStdString();
}

// A lot of one point, or of none to show: the required line (first graph) is drawn with room around it.
TEST(ControlPlotRange, TheRequiredLineLiesInsideTheChart) {
  for (const auto& [points, low, high] : {std::tuple(std::vector<ControlChartPoint>{{0, 1, "1", 30, true}}, 29.0, 41.0),
                                          std::tuple(std::vector<ControlChartPoint>{}, 39.0, 41.0)}) {
    ControlPlot plot;
    plot.showLot({points, 40, kNoValue, kNoValue}, QStringLiteral("Lot 1"));
    EXPECT_EQ(std::tuple(plot.yAxis->range().lower, plot.yAxis->range().upper, plot.graph(0)->dataCount()), std::tuple(low, high, 2));
  }
}

}  // namespace
}  // namespace grx
