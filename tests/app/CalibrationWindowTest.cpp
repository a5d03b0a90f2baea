// The calibration page of the compaction control window driven as a user drives it: pairs typed and
// pasted from a spreadsheet, bad cells refused, the dynamic side taken from the series selected in
// the main window, and a requirement given in a calibration's quantity deriving the dynamic modulus
// that the points and lots are judged by.
#include "app/MainActions.h"
#include "control/CalibrationFile.h"
#include "control/CalibrationPage.h"
#include "control/CalibrationPlot.h"
#include "control/MainWindowControl.h"
#include "control/RequirementsModel.h"
#include "control/TfrmControl.h"
#include "support/MainWindowFixture.h"
#include "support/RecordBuilder.h"
#include "views/StringGridView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace grx {
namespace {

const QColor kPass(198, 239, 206);
const QColor kFail(255, 190, 190);

// Ev2 against Evd on a trial section of sand: Ev2 = 10,68 + 1,986·Evd, s = 1,516, n = 8; with 90 %
// the lower prediction bound reaches Ev2 = 100 MPa at Evd = 46,15 MPa and 137,15 MPa at most.
constexpr char kSetup[] = R"({"version": 2, "requirements": [{"object": "*", "material": "*", "minDynamic": 40}],
  "calibrations": [{"name": "Sand 05.2026", "object": "*", "material": "Sand", "quantity": "Ev2", "quantityName": "",
    "unit": "", "model": "linear", "confidence": 0.9, "date": "2026-05-14", "comment": "",
    "pairs": [[30, 70], [35, 82], [40, 88], [45, 101], [50, 110], [55, 118], [60, 131], [65, 140]]}]})";

class CalibrationWindow : public test::MainWindowFixture {
 protected:
  QString setupPath() const { return dir_.filePath(QStringLiteral("GRX1-control.json")); }
  // Three series: Base/Sand 50 and 30 MPa, Base/Clay 45 MPa.
  TfrmControl& open(const char* setup = kSetup) {
    writeIni("[Config]\r\nLangId=Eng\r\n");
    EXPECT_TRUE(test::writeFileBytes(setupPath(), setup));
    TForm1& form = start();
    const std::pair<const char*, float> series[] = {{"Sand", 50}, {"Sand", 30}, {"Clay", 45}};
    std::vector<test::RecordBuilder> records;
    for (int k = 0; k < 3; ++k)
      records.push_back(test::RecordBuilder().series(k + 1).stamp(1, 6, 26, 10 + k, 0, 0).object("Base").soil(series[k].first)
                            .moduli(series[k].second, 90));
    test::fillSet(form.measurements(), records);
    form.RebuildTables();
    form.show();
    form.Actions->ACompactionControl->trigger();
    TfrmControl& window = *form.ControlPart->window();
    QApplication::setActiveWindow(&window);
    return window;
  }
  static void showPage(TfrmControl& window, int page) {
    QTabBar* tabs = window.tabsControl->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    ASSERT_EQ(window.tabsControl->currentIndex(), page);
  }
  QVector<QColor> seriesColors() const {
    QVector<QColor> colors;
    for (int k = 0; k < 3; ++k) colors << form_->StringGrid1->model()->index(k, 1).data(Qt::BackgroundRole).value<QColor>();
    return colors;
  }
  static QString cell(QTableView* table, int row, int column, int role = Qt::DisplayRole) {
    return table->model()->index(row, column).data(role).toString();
  }
  static void click(QTableView* table, int row, int column) {
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(row, column)).center());
  }
  // Typing over a cell: the first key opens its editor with that key, Return keeps the text. (A
  // click on the current cell would open its editor a moment later instead.)
  static void typeInto(QTableView* table, int row, int column, const QString& text) {
    if (table->currentIndex() != table->model()->index(row, column)) click(table, row, column);
    QTest::keyClick(table, text.front().toLatin1());
    auto* editor = table->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor's commit comes from the event queue, and a refusal's message after it.
    for (int i = 0; i < 2; ++i) QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  QList<CalibrationPair> keptPairs(int calibration) const {
    ControlSetup kept;
    EXPECT_EQ(readControlSetup(setupPath(), kept).status, SetupReadResult::Ok);
    return kept.calibrations.value(calibration).pairs;
  }
};

TEST_F(CalibrationWindow, TypedAndPastedPairsAreFittedAndKeptAndBadCellsAreRefused) {
  TfrmControl& window = open();
  showPage(window, 1);
  CalibrationPage& page = *window.pageCalibration;
  QTest::mouseClick(page.btnAddCalibration, Qt::LeftButton);
  ASSERT_EQ(page.listCalibrations->count(), 2);
  EXPECT_EQ(page.listCalibrations->currentItem()->text(), "Calibration 2");
  QTest::keyClicks(page.editName, "Loam");  // the new name is selected for typing over
  QTest::keyClick(page.editName, Qt::Key_Tab);
  EXPECT_EQ(form_->ControlPart->setup().calibrations[1].name, "Loam");

  QTableView* pairs = page.tablePairs;
  typeInto(pairs, 0, 0, "30");
  typeInto(pairs, 0, 1, "70");
  typeInto(pairs, 1, 0, "35");
  typeInto(pairs, 1, 1, "82");
  EXPECT_EQ(keptPairs(1), QList<CalibrationPair>({{30, 70}, {35, 82}}));
  EXPECT_EQ(page.labelStatistics->text(), "Not fitted: fewer than 5 pairs.");

  typeInto(pairs, 2, 1, "8x");
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "Ev2, MPa: \"8x\" is not accepted: a number above zero is needed, such as 80 or 12,5. "
                                   "The previous value is kept.");
  EXPECT_EQ(pairs->model()->rowCount(), 3);  // two pairs and the row for a new one

  // Two columns from a spreadsheet with their heading, decimal commas and Windows line ends.
  QGuiApplication::clipboard()->setText("Evd\tEv2\r\n40,0\t88\r\n45\t101,0\r\n50,5\t110\r\n55\t118\r\n");
  click(pairs, 2, 0);
  QTest::keyClick(pairs, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(keptPairs(1), QList<CalibrationPair>({{30, 70}, {35, 82}, {40, 88}, {45, 101}, {50.5, 110}, {55, 118}}));
  EXPECT_EQ(cell(pairs, 4, 0), "50,5");
  EXPECT_EQ(page.labelStatistics->text(),
            "n = 6;  Ev2 = 13,52 + 1,909·Evd;  R² = 0,99;  s = 1,56\nconfidence 90 %;  Evd from 30,0 to 55,0 MPa");
  EXPECT_EQ(page.labelWarnings->text(), "only 6 pairs (10 or more advised)");
  EXPECT_EQ(page.ChartCalibration->pairsGraph()->dataCount(), 6);
  EXPECT_EQ(page.ChartCalibration->boundGraph()->data()->at(0)->key, 30.0);
  EXPECT_EQ(page.ChartCalibration->yAxis->label(), "Ev2, MPa");

  // One bad cell: nothing of the paste is taken.
  QGuiApplication::clipboard()->setText("60\t125\n65\t1,3,0\n");
  click(pairs, 6, 0);
  QTest::keyClick(pairs, Qt::Key_V, Qt::ControlModifier);
  QCoreApplication::processEvents();
  ASSERT_EQ(ui_.messages.size(), 2u);
  EXPECT_EQ(ui_.messages[1].text, "Line 2: \"1,3,0\" is not accepted: a number above zero is needed, such as 80 or 12,5. "
                                   "Nothing is pasted.");
  EXPECT_EQ(keptPairs(1).size(), 6);

  form_->Actions->ALangRus->trigger();
  EXPECT_EQ(window.tabsControl->tabText(1), QStringLiteral("Калибровка"));
  EXPECT_EQ(page.btnFromSeries->text(), QStringLiteral("Из выделенных серий"));
}

TEST_F(CalibrationWindow, TheSelectedSeriesFillTheDynamicSide) {
  TfrmControl& window = open(R"({"version": 2, "requirements": [],
      "calibrations": [{"name": "Clay", "quantity": "Ev2", "pairs": [[20, 50]]}]})");
  StringGridView* series = form_->StringGrid1;
  QTest::mouseClick(series->viewport(), Qt::LeftButton, {}, series->visualRect(series->model()->index(0, 1)).center());
  QTest::mouseClick(series->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                    series->visualRect(series->model()->index(1, 1)).center());
  showPage(window, 1);
  CalibrationPage& page = *window.pageCalibration;
  click(page.tablePairs, 0, 0);  // from the first row on
  QTest::mouseClick(page.btnFromSeries, Qt::LeftButton);
  EXPECT_EQ(cell(page.tablePairs, 0, 0), "50");
  EXPECT_EQ(cell(page.tablePairs, 1, 0), "30");
  EXPECT_EQ(cell(page.tablePairs, 1, 1), "");
  typeInto(page.tablePairs, 1, 1, "77,5");
  EXPECT_EQ(keptPairs(0), QList<CalibrationPair>({{50, 50}, {30, 77.5}}));
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(CalibrationWindow, ARequirementInEv2DerivesTheDynamicModulusAndTheVerdictsFollow) {
  TfrmControl& window = open();
  EXPECT_EQ(seriesColors(), QVector<QColor>({kPass, kFail, kPass}));  // 50, 30, 45 against 40 MPa
  QTableView* table = window.tableRequirements;
  click(table, 0, RequirementsModel::CalibrationColumn);
  QTest::keyClick(table, Qt::Key_F2);
  auto* choice = table->viewport()->findChild<QComboBox*>("comboCalibration");
  ASSERT_NE(choice, nullptr);
  QTest::keyClick(choice, Qt::Key_Down);  // from none to the first calibration
  QCoreApplication::processEvents();
  EXPECT_EQ(cell(table, 0, RequirementsModel::CalibrationColumn), "Sand 05.2026");
  EXPECT_EQ(cell(table, 0, RequirementsModel::DynamicColumn), "40");  // in force until Ev2 is typed

  typeInto(table, 0, RequirementsModel::ReferenceColumn, "100");
  EXPECT_EQ(cell(table, 0, RequirementsModel::DynamicColumn), "46,1");
  const QString derivation = "Ev2 ≥ 100 MPa ⇒ Evd ≥ 46,1 MPa, calibration \"Sand 05.2026\", n = 8, R² = 1,00";
  EXPECT_EQ(cell(table, 0, RequirementsModel::DynamicColumn, Qt::ToolTipRole), derivation);
  EXPECT_EQ(window.labelDerivation->text(), derivation);
  EXPECT_EQ(seriesColors(), QVector<QColor>({kPass, kFail, kFail}));  // 45 < 46,1
  const int verdict = window.StringGridLots->gridColumnCount() - 1;
  EXPECT_EQ(window.StringGridLots->grid().cell(2, verdict), "fail");
  ControlSetup kept;
  ASSERT_EQ(readControlSetup(setupPath(), kept).status, SetupReadResult::Ok);
  EXPECT_EQ(kept.requirements[0].calibration, "Sand 05.2026");
  EXPECT_EQ(kept.requirements[0].minReference, 100.0);

  // Beyond what the calibrated range reaches: refused, and the row keeps its value.
  typeInto(table, 0, RequirementsModel::ReferenceColumn, "150");
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text.toStdString(), "requirement 1 (object \"*\", material \"*\"): calibration \"Sand 05.2026\" does "
                                                 "not reach minReference 150 within its range 30,0–65,0 MPa. The previous value is kept.");
  EXPECT_EQ(cell(table, 0, RequirementsModel::ReferenceColumn), "100");

  // A calibration in use is not removed; renamed, the requirement follows it.
  showPage(window, 1);
  CalibrationPage& page = *window.pageCalibration;
  QTest::mouseClick(page.btnRemoveCalibration, Qt::LeftButton);
  ASSERT_EQ(ui_.messages.size(), 2u);
  EXPECT_TRUE(ui_.messages[1].text.startsWith("The calibrations are not changed: requirement 1")) << ui_.messages[1].text.toStdString();
  page.editName->selectAll();
  QTest::keyClicks(page.editName, "Sand");
  QTest::keyClick(page.editName, Qt::Key_Return);
  EXPECT_EQ(form_->ControlPart->setup().requirements[0].calibration, "Sand");
  EXPECT_EQ(cell(table, 0, RequirementsModel::CalibrationColumn), "Sand");
}

TEST_F(CalibrationWindow, CalibrationsAreExportedAndImportedOnTheirOwn) {
  QByteArray calibrated = kSetup;
  calibrated.replace("\"minDynamic\": 40", "\"calibration\": \"Sand 05.2026\", \"minReference\": 100");
  TfrmControl& window = open(calibrated.constData());
  showPage(window, 1);
  CalibrationPage& page = *window.pageCalibration;
  const QString file = dir_.filePath("calibrations.json");
  ui_.fileAnswers = {file};
  QTest::mouseClick(page.btnExportCalibrations, Qt::LeftButton);
  QList<Calibration> read;
  ASSERT_EQ(readCalibrations(file, read).status, SetupReadResult::Ok);
  EXPECT_EQ(read, form_->ControlPart->setup().calibrations);
  EXPECT_FALSE(test::readFileBytes(file).contains("requirements"));

  read[0].name = "Sand 2";
  read[0].pairs.removeLast();
  ASSERT_TRUE(writeCalibrations(file, read));
  ui_.fileAnswers = {file};
  QTest::mouseClick(page.btnImportCalibrations, Qt::LeftButton);
  ASSERT_EQ(page.listCalibrations->count(), 2);
  EXPECT_EQ(page.listCalibrations->item(1)->text(), "Sand 2");
  EXPECT_EQ(form_->ControlPart->setup().calibrations[1].pairs.size(), 7);

  // A whole requirements file brings its calibrations with the requirements given through them.
  // The file's calibration is called otherwise, so the rows replaced could not derive from it.
  ASSERT_TRUE(test::writeFileBytes(file, calibrated.replace("Sand 05.2026", "Gravel")));
  ui_.fileAnswers = {file};
  QTest::mouseClick(window.btnImport, Qt::LeftButton);
  EXPECT_EQ(page.listCalibrations->item(0)->text(), "Gravel");
  EXPECT_EQ(cell(window.tableRequirements, 0, RequirementsModel::DynamicColumn, Qt::ToolTipRole),
            "Ev2 ≥ 100 MPa ⇒ Evd ≥ 46,1 MPa, calibration \"Gravel\", n = 8, R² = 1,00");
  EXPECT_TRUE(ui_.messages.empty());
}

}  // namespace
}  // namespace grx
