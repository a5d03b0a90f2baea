// Project files through the window's commands: the dialogs, the extension rules, the messages,
// and what the window shows after an open.
#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"
#include "app/LinkLamp.h"
#include "app/MainActions.h"
#include "device/LinkState.h"
#include "support/MainWindowFixture.h"
#include "views/StringGridView.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>

#include <sys/stat.h>

namespace grx {
namespace {

class MainWindowProject : public test::MainWindowFixture {
 protected:
  TForm1& startEnglish() {
    writeIni("[Config]\r\nLangId=Eng\r\n");
    return start();
  }
  QString path(const QString& name) const { return QDir(work_.path()).filePath(name); }
  static QByteArray bytes(const QString& file) { return test::readFileBytes(file); }
  QTemporaryDir work_;
};

TEST_F(MainWindowProject, SaveWithoutDataSaysNoData) {
  TForm1& form = startEnglish();
  form.ASaveExecute();
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "No Data");
  EXPECT_TRUE(ui_.fileDialogs.empty());
}

TEST_F(MainWindowProject, SaveProposesADatedNameAndAppliesTheExtensionRules) {
  TForm1& form = startEnglish();
  generateSampleMeasurements(form.measurements(), 12, 4);
  struct Case {
    QStringList answers;  // names given to the dialog, in turn
    QString written;
    int dialogs;
  };
  const Case cases[] = {
      {{"run.grx"}, "run.grx", 1},
      {{"run.GRX"}, "run.GRX.grx", 1},
      {{"run."}, "run.grx", 1},
      {{"data.txt"}, "data.txt.grx", 1},
      {{"plain"}, "plain.grx", 1},
      {{"names.mtgrx", "again.grx"}, "again.grx", 2},
  };
  QString first;  // the first proposal: program folder and the date and time as yymmdd.hhmm
  for (const Case& c : cases) {
    ui_.fileDialogs.clear();
    for (const QString& a : c.answers) ui_.fileAnswers.push_back(path(a));
    form.ASaveExecute();
    ASSERT_EQ(int(ui_.fileDialogs.size()), c.dialogs) << c.written.toStdString();
    EXPECT_TRUE(ui_.fileDialogs[0].save);
    EXPECT_EQ(ui_.fileDialogs[0].title, "Save as...");
    EXPECT_EQ(QFileInfo(path(c.written)).size(), 16 + 2200 * 12) << c.written.toStdString();
    if (c.dialogs == 2) {
      EXPECT_EQ(ui_.fileDialogs[1].fileName, path("names.grx"));
    }
    if (first.isEmpty()) first = ui_.fileDialogs[0].fileName;
  }
  EXPECT_TRUE(first.startsWith(QDir::toNativeSeparators(dir_.path()) + QDir::separator()));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("\\d{6}\\.\\d{4}\\.grx$")).match(first).hasMatch()) << first.toStdString();
  EXPECT_TRUE(iniBytes().contains(lastReadPathLine(work_.path())));
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(MainWindowProject, AFileThatCannotBeCreatedOffersRetry) {
  TForm1& form = startEnglish();
  generateSampleMeasurements(form.measurements(), 3, 4);
  ui_.fileAnswers = {path("no-folder/x.grx"), path("no-folder/y.grx")};
  ui_.messageAnswers = {ModalUi::Retry, ModalUi::Abort};
  form.ASaveExecute();
  EXPECT_EQ(ui_.fileDialogs.size(), 2u);
  ASSERT_EQ(ui_.messages.size(), 2u);
  const ModalUi::Message& m = ui_.messages[0];
  EXPECT_EQ(m.title, "GRX-1");
  EXPECT_EQ(m.icon, ModalUi::Icon::Warning);
  EXPECT_EQ(m.buttons, ModalUi::Abort | ModalUi::Retry | ModalUi::Ignore);
  EXPECT_EQ(m.defaultButton, ModalUi::Retry);
  EXPECT_EQ(m.text, "Can't create data file " + QDir::toNativeSeparators(path("no-folder/x.grx")) +
                        ".\nIt may be no free space or disk is write protected");
}

TEST_F(MainWindowProject, OpenShowsTheFileAndEndsTheSearch) {
  auto set = std::make_unique<MeasurementSet>();
  generateSampleMeasurements(*set, 30, 8);
  ASSERT_EQ(writeProjectFile(*set, path("a.grx")), ProjectWriteResult::Ok);
  TForm1& form = startEnglish();
  // the fixture's environment has no link; a fresh window gets one, searching for the tester
  LinkShared link;
  link.setState(lsConnect);
  TForm1::Environment env;
  env.programFolder = QDir::toNativeSeparators(dir_.path());
  env.ui = &ui_;
  env.exitProcess = [](int) {};
  env.link = &link;
  TForm1 window(env);
  window.FormCreate();
  (void)form;
  ui_.fileAnswers = {path("a.grx")};
  window.AOpenExecute();
  ASSERT_EQ(ui_.fileDialogs.size(), 1u);
  EXPECT_FALSE(ui_.fileDialogs[0].save);
  EXPECT_EQ(ui_.fileDialogs[0].title, "Open file...");
  EXPECT_EQ(ui_.fileDialogs[0].fileName, QDir::toNativeSeparators(dir_.path()) + QDir::separator() + "File");
  EXPECT_EQ(window.measurements().count(), 30u);
  EXPECT_EQ(window.StringGrid1->gridRowCount(), int(set->seriesCount()) + 2);
  EXPECT_EQ(window.StatusPanel[0]->text(), "File \"a.grx\"");
  EXPECT_EQ(window.StatusPanel[1]->text(), "Data Readed (30)");
  EXPECT_EQ(window.ShapeLink->fillColor(), window.ShapeLink->neutralColor());
  EXPECT_EQ(link.state(), lsIdle);
}

TEST_F(MainWindowProject, ADamagedFileIsReportedAndTheShownSetStays) {
  TForm1& form = startEnglish();
  generateSampleMeasurements(form.measurements(), 20, 2);
  form.RebuildTables();
  const TextGrid before = form.StringGrid1->grid();
  ASSERT_TRUE(test::writeFileBytes(path("bad.grx"), QByteArray("GRX-1.0 ", 8) + QByteArray(8, '\0')));
  ui_.fileAnswers = {path("bad.grx")};
  form.AOpenExecute();
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "File is not readable or damaged: bad.grx");
  EXPECT_EQ(ui_.messages[0].icon, ModalUi::Icon::Warning);
  EXPECT_EQ(form.measurements().count(), 20u);
  for (int r = 0; r < before.rowCount(); ++r)
    for (int c = 0; c < before.columnCount(); ++c) EXPECT_EQ(form.StringGrid1->grid().cell(r, c), before.cell(r, c));
}

#ifndef _WIN32  // FIFOs exist on POSIX systems only
TEST_F(MainWindowProject, AFifoIsReportedAsDamagedWithoutWaitingForAWriter) {
  TForm1& form = startEnglish();
  ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.grx")).constData(), 0600), 0);
  ui_.fileAnswers = {path("pipe.grx")};
  form.AOpenExecute();  // opening the FIFO itself would block here
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "File is not readable or damaged: pipe.grx");
}
#endif

TEST_F(MainWindowProject, AMissingFileBringsTheDialogBackWithItsName) {
  TForm1& form = startEnglish();
  ui_.fileAnswers = {path("missing.grx")};  // then cancelled
  form.AOpenExecute();
  ASSERT_EQ(ui_.fileDialogs.size(), 2u);
  EXPECT_EQ(ui_.fileDialogs[1].fileName, path("missing.grx"));
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(MainWindowProject, CommandLineArgumentsAreJoinedWithBlanks) {
  auto set = std::make_unique<MeasurementSet>();
  generateSampleMeasurements(*set, 7, 8);
  ASSERT_TRUE(QDir(work_.path()).mkdir(QStringLiteral("My data")));
  ASSERT_EQ(writeProjectFile(*set, path("My data/x.grx")), ProjectWriteResult::Ok);
  TForm1& form = startEnglish();
  form.OpenFromCommandLine({path("My"), QStringLiteral("data/x.grx")});
  EXPECT_TRUE(ui_.fileDialogs.empty());
  EXPECT_EQ(form.measurements().count(), 7u);
  EXPECT_TRUE(iniBytes().contains(lastReadPathLine(path("My data"))));
}

TEST_F(MainWindowProject, SaveThenOpenGivesTheSameBytes) {
  TForm1& form = startEnglish();
  generateSampleMeasurements(form.measurements(), 40, 6);
  ui_.fileAnswers = {path("one.grx")};
  form.ASaveExecute();
  form.measurements().clear();
  ui_.fileAnswers = {path("one.grx"), path("two.grx")};
  form.AOpenExecute();
  EXPECT_EQ(form.measurements().count(), 40u);
  form.ASaveExecute();
  EXPECT_EQ(bytes(path("one.grx")), bytes(path("two.grx")));
  EXPECT_EQ(bytes(path("one.grx")).size(), 16 + 2200 * 40);
}

// Ending the program with measurements not saved since a read or an edit asks to save them first.
TEST_F(MainWindowProject, EndingWithUnsavedMeasurementsAsksToSaveThem) {
  enum Start { Opened, Edited, Read, EditedAndSaved };
  struct Case {
    Start how;
    bool menuExit;
    int answer;
    const char* saveAs;  // the save dialog's answer; "" cancels it
    const char* asked;   // the question, or "" for none
    bool ends;
  };
  const Case cases[] = {
      {Opened, false, 0, "", "", true},           {Edited, false, ModalUi::Discard, "", "Save changes?", true},
      {Read, false, ModalUi::Cancel, "", "Сохранить изменения?", false},
      {Edited, false, ModalUi::Save, "kept.grx", "Save changes?", true},
      {Edited, false, ModalUi::Save, "", "Save changes?", false},  {Edited, true, ModalUi::Cancel, "", "Save changes?", false},
      {Read, true, ModalUi::Discard, "", "Сохранить изменения?", true}, {EditedAndSaved, false, 0, "", "", true},
  };
  auto sample = std::make_unique<MeasurementSet>();
  generateSampleMeasurements(*sample, 12, 4);
  ASSERT_EQ(writeProjectFile(*sample, path("a.grx")), ProjectWriteResult::Ok);
  for (const Case& c : cases) {
    writeIni(c.how == Read ? "[Config]\r\nLangId=Rus\r\n" : "[Config]\r\nLangId=Eng\r\n");
    TForm1& form = start();
    form.show();
    ui_.messages.clear();
    exitCodes_.clear();
    workerStops_ = 0;
    ui_.fileAnswers = {path("a.grx"), path("saved.grx")};
    if (c.how == Read) generateSampleMeasurements(*sample, 12, 4), form.takeOverMeasurements(*sample);  // swaps
    else form.Actions->AOpen->trigger();
    form.StringGrid1->selectBlock({0, 2, 9, 2});
    if (c.how == Edited || c.how == EditedAndSaved) form.Actions->ADelSeries->trigger();
    if (c.how == EditedAndSaved) form.Actions->ASave->trigger();
    ui_.messageAnswers = {c.answer};
    ui_.fileAnswers = {*c.saveAs ? path(c.saveAs) : QString()};
    c.menuExit ? form.Actions->AExit->trigger() : void(form.close());
    const QString asked = QString::fromUtf8(c.asked);
    EXPECT_EQ(ui_.messages.empty() ? QString() : ui_.messages[0].text, asked) << &c - cases;
    if (!asked.isEmpty()) { EXPECT_EQ(ui_.messages[0].buttons, ModalUi::Save | ModalUi::Discard | ModalUi::Cancel); }
    EXPECT_EQ(exitCodes_, c.ends ? std::vector<int>{0} : std::vector<int>{}) << &c - cases;
    EXPECT_EQ(workerStops_, c.ends && !c.menuExit ? 1 : 0) << &c - cases;
    EXPECT_EQ(form.isVisible(), !c.ends || c.menuExit) << &c - cases;
    EXPECT_EQ(QFileInfo::exists(path("kept.grx")), *c.saveAs != 0) << &c - cases;
    QFile::remove(path("kept.grx"));
  }
}

TEST(SaveDialogTypeChange, FilterRules) {
  struct Case {
    int filter;
    const char *name, *expectedName, *expectedSuffix;
  };
  for (const Case& c : {Case{1, "/d/run.mtgrx", "/d/run.mtgrx", ".grx"}, Case{2, "/d/run.grx", "/d/run.mtgrx", ".mtgrx"},
                        Case{2, "/d/run.", "/d/run.mtgrx", ".mtgrx"}, Case{2, "/d/run.txt", "/d/run.txt.mtgrx", ".mtgrx"},
                        Case{2, "/d/run.mtgrx", "/d/run.mtgrx", ".mtgrx"}, Case{3, "/d/run.grx", "/d/run.grx", "keep"}}) {
    QString name = QString::fromUtf8(c.name);
    QString suffix = QStringLiteral("keep");
    TForm1::SaveDialog1TypeChange(c.filter, name, suffix);
    EXPECT_EQ(name, QString::fromUtf8(c.expectedName)) << c.filter << c.name;
    EXPECT_EQ(suffix, QString::fromUtf8(c.expectedSuffix)) << c.filter << c.name;
  }
}

}  // namespace
}  // namespace grx
