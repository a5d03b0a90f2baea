// The window's CSV and WAV commands and calibration copies: dialogs, names, folders, messages, the
// files they leave, and the same bytes from grx1-cli.
#include "app/MainActions.h"
#include "cli/CliCommands.h"
#include "data/ProjectFile.h"
#include "support/MainWindowFixture.h"
#include "support/RecordBuilder.h"
#include "views/StringGridView.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QTextStream>

namespace grx {
namespace {

using test::RecordBuilder;

class MainWindowExport : public test::MainWindowFixture {
 protected:
  // Series 3 with three impacts and series 7 with two; impact j of series s has acceleration code
  // 100 s + j and force code 10 s + j at sample 0, so every file tells which impact it came from.
  TForm1& startWith(bool fullView, bool withData = true) {
    QByteArray ini = "[Config]\r\nLangId=Eng\r\n";
    if (fullView) ini += "Super=Y\r\n";
    writeIni(ini);
    TForm1& form = start();
    form.resize(900, 600);
    if (!withData) return form;
    std::vector<RecordBuilder> r;
    for (const auto& [series, length] : {std::pair{3u, 3}, std::pair{7u, 2}})
      for (int j = 1; j <= length; ++j) {
        RecordBuilder b;
        b.series(series, std::uint32_t(j)).peaks(-1, 32767, 0, 0).f32(rec::ForceFullScale, 32767);
        b.accelCode(0, std::int16_t(100 * series + j)).forceCode(0, std::int16_t(10 * series + j));
        b.f32(rec::ImpactForce, float(1000 * series + j)).displacement(float(series) + j / 4.0f);
        r.push_back(b);
      }
    test::fillSet(form.measurements(), r);
    form.RebuildTables();
    return form;
  }
  QString work(const QString& name) const { return QDir(work_.path()).filePath(name); }
  QString program(const QString& name) const { return QDir::toNativeSeparators(dir_.path()) + QDir::separator() + name; }
  static QStringList lines(const QString& file) { return QString::fromLatin1(test::readFileBytes(file)).split(u'\n'); }
  QStringList workFiles() const { return QDir(work_.path()).entryList(QDir::Files | QDir::Hidden); }

  QTemporaryDir work_;
};

TEST_F(MainWindowExport, EveryCommandWithoutDataSaysNoData) {
  TForm1& form = startWith(true, false);
  const MainActions* a = form.Actions;
  for (QAction* action : {a->ACopyAtoCsv, a->ACopyVtoCsv, a->ACopyStoCsv, a->ACopyFtoCsv, a->ACopyAllToCsv, a->ACopyAtoWav,
                          a->ACopyVtoWav, a->ACopyStoWav, a->ACopyFtoWav, a->ACopyAllToWav}) {
    ui_.messages.clear();
    action->trigger();
    ASSERT_EQ(ui_.messages.size(), 1u) << action->objectName().toStdString();
    EXPECT_EQ(ui_.messages[0].text, "No Data");
    EXPECT_EQ(ui_.messages[0].title, "GRX-1");
  }
  EXPECT_TRUE(ui_.fileDialogs.empty());
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList({"GRX1.ini"}));
}

TEST_F(MainWindowExport, SingleSignalFilesComeFromTheSelectedImpact) {
  TForm1& form = startWith(true);
  form.StringGrid1->setCurrentRow(3);               // series 7
  form.StringGrid2->selectBlock({2, 1, 2, 1});      // its second impact
  struct Case {
    QAction* action;
    const char* proposed;
    const char* line7;
  };
  const MainActions* a = form.Actions;
  const Case cases[] = {
      {a->ACopyAtoCsv, "Accelerate_7_2.csv", "702,0"},
      {a->ACopyVtoCsv, "Velocity_7_2.csv", "0,045"},  // 702 x 0.000064
      {a->ACopyStoCsv, "Displacement_7_2.csv", "0,003"},
      {a->ACopyFtoCsv, "Force_7_2.csv", "72,000"},
  };
  for (const Case& c : cases) {
    ui_.fileDialogs.clear();
    ui_.fileAnswers = {work(QString::fromLatin1(c.proposed))};
    c.action->trigger();
    ASSERT_EQ(ui_.fileDialogs.size(), 1u) << c.proposed;
    const ModalUi::FileDialog& d = ui_.fileDialogs[0];
    EXPECT_EQ(d.title, "Save as...");
    EXPECT_TRUE(d.save);
    EXPECT_TRUE(d.confirmOverwrite);
    EXPECT_EQ(d.filters, QStringList({"csv-files (*.csv)", test::kAllFiles}));
    // the first proposal is in the program folder, the others where the first file went
    const QString folder = c.action == a->ACopyAtoCsv ? program("") : QDir::toNativeSeparators(work_.path()) + QDir::separator();
    EXPECT_EQ(d.fileName, folder + c.proposed);
    const QStringList l = lines(work(QString::fromLatin1(c.proposed)));
    EXPECT_EQ(l.size(), 519) << c.proposed;
    EXPECT_EQ(l[1], ";Series/Impact: 7/2");
    EXPECT_EQ(l[6], c.line7) << c.proposed;
  }
  EXPECT_TRUE(iniBytes().contains(lastReadPathLine(work_.path())));
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(MainWindowExport, NothingSelectedInTheImpactsTableExportsTheSeriesFirstImpact) {
  TForm1& form = startWith(false);
  form.StringGrid1->setCurrentRow(3);  // a click: series 7 shown, the impacts table's selection cancelled
  ASSERT_EQ(form.StringGrid2->currentColumn(), -1);
  ui_.fileAnswers = {work("f.csv")};
  form.ACopyFtoCsvExecute();
  ASSERT_EQ(ui_.fileDialogs.size(), 1u);
  EXPECT_EQ(ui_.fileDialogs[0].fileName, program("Force_7_1.csv"));
  EXPECT_EQ(lines(work("f.csv"))[6], "71,000");
}

TEST_F(MainWindowExport, AWrongExtensionIsCorrectedAndTheDialogShownAgain) {
  TForm1& form = startWith(true);
  struct Case {
    void (TForm1::*command)();
    const char* typed;
    const char* corrected;
  };
  const Case cases[] = {
      {&TForm1::ACopyStoCsvExecute, "data.CSV", "data.csv"},
      {&TForm1::ACopyAllToCsvExecute, "all", "all.csv"},
      {&TForm1::ACopyStoWavExecute, "sound.txt", "sound.wav"},
  };
  for (const Case& c : cases) {
    ui_.fileDialogs.clear();
    ui_.fileAnswers = {work(QString::fromLatin1(c.typed)), work(QString::fromLatin1(c.corrected))};
    (form.*c.command)();
    ASSERT_EQ(ui_.fileDialogs.size(), 2u) << c.typed;
    EXPECT_EQ(ui_.fileDialogs[1].fileName, work(QString::fromLatin1(c.corrected)));
    EXPECT_TRUE(QFileInfo::exists(work(QString::fromLatin1(c.corrected)))) << c.corrected;
  }
  EXPECT_EQ(workFiles(), QStringList({"all.csv", "data.csv", "sound.wav"}));
  EXPECT_EQ(ui_.fileDialogs[0].filters, QStringList({"wav-files (*.wav)", test::kAllFiles}));
  EXPECT_EQ(lines(work("all.csv")).size(), 524);  // full view: 523 lines
}

TEST_F(MainWindowExport, AFileThatCannotBeCreatedOffersRetry) {
  TForm1& form = startWith(false);
  for (void (TForm1::*command)() : {&TForm1::ACopyFtoCsvExecute, &TForm1::ACopyFtoWavExecute}) {
    ui_.fileDialogs.clear();
    ui_.messages.clear();
    const QString ext = command == &TForm1::ACopyFtoCsvExecute ? ".csv" : ".wav";
    ui_.fileAnswers = {work("missing/x" + ext), work("missing/y" + ext)};
    ui_.messageAnswers = {ModalUi::Retry, ModalUi::Ignore};
    (form.*command)();
    ASSERT_EQ(ui_.fileDialogs.size(), 2u);
    EXPECT_EQ(ui_.fileDialogs[1].fileName, work("missing/x" + ext));
    ASSERT_EQ(ui_.messages.size(), 2u);
    const ModalUi::Message& m = ui_.messages[0];
    EXPECT_EQ(m.icon, ModalUi::Icon::Warning);
    EXPECT_EQ(m.buttons, ModalUi::Abort | ModalUi::Retry | ModalUi::Ignore);
    EXPECT_EQ(m.defaultButton, ModalUi::Retry);
    EXPECT_EQ(m.text, "Can't create data file " + QDir::toNativeSeparators(work("missing/x" + ext)) +
                          ".\nIt may be no free space or disk is write protected");
  }
}

TEST_F(MainWindowExport, AllSignalsWavWritesTheFilesOfTheViewWithoutADialog) {
  for (bool fullView : {true, false}) {
    for (const QString& f : workFiles()) QFile::remove(work(f));
    TForm1& form = startWith(fullView);
    writeLastReadPath(form.config(), work_.path());
    ASSERT_TRUE(test::writeFileBytes(work("Force_3_1.wav"), "old"));  // replaced without asking
    form.Actions->ACopyAllToWav->trigger();
    EXPECT_TRUE(ui_.fileDialogs.empty());
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(iniBytes().contains("LastReadPath=" + work_.path().toUtf8() + "\r\n"));  // left as it was
    const QStringList expected = fullView ? QStringList{"Accelerate_3_1.wav", "Displacement_3_1.wav", "Force_3_1.wav",
                                                        "Velocity_3_1.wav"}
                                          : QStringList{"Displacement_3_1.wav", "Force_3_1.wav"};
    ASSERT_EQ(workFiles(), expected);
    // each file is the one its single-signal command writes
    const std::pair<void (TForm1::*)(), const char*> singles[] = {{&TForm1::ACopyAtoWavExecute, "Accelerate_3_1.wav"},
                                                                  {&TForm1::ACopyVtoWavExecute, "Velocity_3_1.wav"},
                                                                  {&TForm1::ACopyStoWavExecute, "Displacement_3_1.wav"},
                                                                  {&TForm1::ACopyFtoWavExecute, "Force_3_1.wav"}};
    for (const auto& [command, name] : singles) {
      if (!expected.contains(name)) continue;
      ui_.fileAnswers = {work(QStringLiteral("single.wav"))};
      (form.*command)();
      const QByteArray single = test::readFileBytes(work("single.wav"));
      EXPECT_EQ(single.size(), 1068);
      EXPECT_EQ(test::readFileBytes(work(name)), single) << name;
    }
    EXPECT_TRUE(iniBytes().contains(lastReadPathLine(work_.path())));
    ui_.fileDialogs.clear();
  }
}

TEST_F(MainWindowExport, AllSignalsWavKeepsTheFilesWrittenBeforeAFailure) {
  TForm1& form = startWith(true);
  writeLastReadPath(form.config(), work_.path());
  ASSERT_TRUE(QDir(work_.path()).mkdir("Displacement_3_1.wav"));
  form.ACopyAllToWavExecute();
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].buttons, ModalUi::Ok);
  EXPECT_EQ(ui_.messages[0].icon, ModalUi::Icon::Warning);
  EXPECT_EQ(ui_.messages[0].text, "Can't create data file " + QDir::toNativeSeparators(work("Displacement_3_1.wav")) +
                                      ".\nIt may be no free space or disk is write protected");
  EXPECT_EQ(workFiles(), QStringList({"Accelerate_3_1.wav", "Velocity_3_1.wav"}));
}

TEST_F(MainWindowExport, CalibrationListsGoToTheClipboard) {
  TForm1& form = startWith(true);
  QClipboard* clipboard = QGuiApplication::clipboard();
  form.Actions->itmCopyCalibrDataF->trigger();
  EXPECT_EQ(clipboard->text(), "3001,0\n3002,0\n3003,0\n7001,0\n7002,0\n");
  form.Actions->itmCopyCalibrDataS->trigger();
  EXPECT_EQ(clipboard->text(), "3,2500\n3,5000\n3,7500\n7,2500\n7,5000\n");
  form.measurements().clear();
  form.itmCopyCalibrDataFClick();
  EXPECT_EQ(clipboard->text(), "");
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(MainWindowExport, TheChartMenuListsTheSignalsInItsOwnOrder) {
  TForm1& form = startWith(true);
  QStringList wav, csv;
  for (QAction* entry : form.Actions->PopupMenuChart->actions()) {
    if (!entry->menu() || entry->menu()->objectName() == "MenuChartsScale") continue;
    QStringList& into = entry->menu()->objectName() == "MenuWav" ? wav : csv;
    for (QAction* a : entry->menu()->actions()) into << (a->isSeparator() ? QStringLiteral("---") : a->objectName());
  }
  EXPECT_EQ(wav, QStringList({"ACopyAtoWav", "ACopyVtoWav", "ACopyStoWav", "ACopyFtoWav", "---", "ACopyAllToWav"}));
  EXPECT_EQ(csv, QStringList({"ACopyAtoCsv", "ACopyVtoCsv", "ACopyStoCsv", "ACopyFtoCsv", "---", "ACopyAllToCsv"}));
}

TEST_F(MainWindowExport, TheCommandLineWritesTheSameBytesAsTheWindow) {
  TForm1& form = startWith(true);
  ASSERT_EQ(writeProjectFile(form.measurements(), work("set.grx")), ProjectWriteResult::Ok);
  form.StringGrid1->setCurrentRow(2);
  form.StringGrid2->selectBlock({3, 1, 3, 1});  // series 3, third impact
  ASSERT_TRUE(QDir(work_.path()).mkdir("window"));
  writeLastReadPath(form.config(), work("window"));
  ui_.fileAnswers = {work("window/v.csv"), work("window/all.csv"), work("window/s.wav")};
  form.ACopyVtoCsvExecute();
  form.ACopyAllToCsvExecute();
  form.ACopyStoWavExecute();
  form.ACopyAllToWavExecute();
  ASSERT_TRUE(ui_.messages.empty());

  const auto cli = [&](const QStringList& args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int code = runCli(args, o, e);
    e.flush();
    EXPECT_EQ(code, 0) << err.toStdString();
  };
  const QStringList impact = {work("set.grx"), "--series", "0", "--impact", "3", "--view", "full"};
  cli(QStringList{"csv"} + impact + QStringList{"--signal", "v", "-o", work("v.csv")});
  cli(QStringList{"csv"} + impact + QStringList{"--signal", "all", "-o", work("cli")});
  cli(QStringList{"wav"} + impact + QStringList{"--signal", "s", "-o", work("s.wav")});
  cli(QStringList{"wav"} + impact + QStringList{"--signal", "all", "-o", work("cli")});

  EXPECT_EQ(test::readFileBytes(work("v.csv")), test::readFileBytes(work("window/v.csv")));
  EXPECT_EQ(test::readFileBytes(work("s.wav")), test::readFileBytes(work("window/s.wav")));
  EXPECT_EQ(test::readFileBytes(work("cli/All_3_3.csv")), test::readFileBytes(work("window/all.csv")));
  const QStringList wavs = {"Accelerate_3_3.wav", "Velocity_3_3.wav", "Displacement_3_3.wav", "Force_3_3.wav"};
  for (const QString& name : wavs) {
    EXPECT_EQ(test::readFileBytes(work("cli/" + name)), test::readFileBytes(work("window/" + name))) << name.toStdString();
    EXPECT_EQ(test::readFileBytes(work("cli/" + name)).size(), 1068);
  }
  EXPECT_EQ(lines(work("v.csv"))[1], ";Series/Impact: 3/3");
}

}  // namespace
}  // namespace grx
