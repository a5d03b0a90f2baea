// Start-up and exit of the main window: the language question, the configuration keys it reads
// and writes, the reduced view.
#include "app/MainActions.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

namespace grx {
namespace {

using test::MainWindowFixture;

class MainWindowStart : public MainWindowFixture {};

TEST_F(MainWindowStart, FirstStartAsksTheLanguageAndCountsTheStart) {
  ui_.languageAnswer = Language::English;
  TForm1& form = start();
  EXPECT_EQ(ui_.languageDialogs, 1);
  EXPECT_EQ(currentLanguage(), Language::English);
  EXPECT_TRUE(form.Actions->ALangEng->isChecked());
  EXPECT_FALSE(form.Actions->ALangRus->isChecked());
  EXPECT_EQ(iniBytes(), QByteArray("[Config]\r\nLangId=Eng\r\nUses=1\r\n"));

  // the defaults of a first start
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  EXPECT_EQ(form.size(), QSize(500, 400));
  EXPECT_EQ(form.pos(), QPoint((screen.width() - 500) / 2, (screen.height() - 400) / 2));
  EXPECT_EQ(form.table1Width(), 500);
  EXPECT_TRUE(form.reducedView());
  EXPECT_FALSE(form.CheckBoxAccel->isChecked());
  EXPECT_FALSE(form.CheckBoxVelocity->isChecked());
  EXPECT_TRUE(form.CheckBoxDisplacement->isChecked());
  EXPECT_TRUE(form.CheckBoxForce->isChecked());
  EXPECT_TRUE(form.Actions->ALeftAxisAuto->isChecked());
  EXPECT_TRUE(form.Actions->ARightAxisAuto->isChecked());
  EXPECT_FALSE(form.Actions->ALeftAxisPlus->isChecked());
  EXPECT_TRUE(form.Actions->ABottomAxis20->isChecked());
  EXPECT_FALSE(form.Actions->ABottomAxisAuto->isChecked());
  EXPECT_EQ(form.windowTitle(), "GRX-1");
}

TEST_F(MainWindowStart, LanguageDialogClosedWithoutAChoiceLeavesRussianAndWritesNoLanguage) {
  ui_.languageAnswer.reset();
  TForm1& form = start();
  EXPECT_EQ(currentLanguage(), Language::Russian);
  EXPECT_FALSE(form.Actions->ALangRus->isChecked());
  EXPECT_FALSE(form.Actions->ALangEng->isChecked());
  EXPECT_EQ(iniBytes(), QByteArray("[Config]\r\nUses=1\r\n"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("ГРХ-1"));
}

TEST_F(MainWindowStart, ALanguageDialogThatCannotBeShownMeansRussian) {
  ui_.languageDialogFails = true;
  TForm1& form = start();
  EXPECT_TRUE(form.Actions->ALangRus->isChecked());
  EXPECT_EQ(iniBytes(), QByteArray("[Config]\r\nLangId=Rus\r\nUses=1\r\n"));
}

TEST_F(MainWindowStart, StoredLanguageIsTakenWithoutAsking) {
  struct Case {
    const char* value;
    Language expected;
  };
  for (const Case& c : {Case{"Rus", Language::Russian}, Case{"rus", Language::English}, Case{"Eng", Language::English},
                        Case{"X", Language::English}}) {
    writeIni(QByteArray("[Config]\r\nLangId=") + c.value + "\r\nUses=41\r\n");
    start();
    EXPECT_EQ(ui_.languageDialogs, 0) << c.value;
    EXPECT_EQ(currentLanguage(), c.expected) << c.value;
    EXPECT_TRUE(iniBytes().contains("Uses=42\r\n")) << c.value;
  }
}

TEST_F(MainWindowStart, StoredGeometryIsClampedToTheScreen) {
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  writeIni("[Config]\r\nLangId=Eng\r\n[FormMain]\r\nWidth=450\r\nHeight=350\r\nLeft=99999\r\nTop=99999\r\n"
           "Table1Width=10\r\n");
  TForm1& form = start();
  EXPECT_EQ(form.size(), QSize(450, 350));
  EXPECT_EQ(form.pos(), QPoint(screen.width() - 450, screen.height() - 350 - 25));
  EXPECT_EQ(form.table1Width(), 50);
}

TEST_F(MainWindowStart, FullViewShowsTheAccelerationAndVelocityBoxes) {
  writeIni("[Config]\r\nLangId=Eng\r\nSuper=Y\r\nAccelGraph=Y\r\nVelocityGraph=N\r\nBottomAxis=32\r\n");
  TForm1& form = start();
  EXPECT_FALSE(form.reducedView());
  EXPECT_FALSE(form.CheckBoxAccel->isHidden());
  EXPECT_TRUE(form.CheckBoxAccel->isChecked());
  EXPECT_FALSE(form.CheckBoxVelocity->isChecked());
  EXPECT_TRUE(form.Actions->ABottomAxis32->isChecked());
  EXPECT_TRUE(form.Actions->ACopyAtoCsv->isVisible());
  EXPECT_TRUE(form.Actions->itmCopyCalibrDataF->isVisible());
}

TEST_F(MainWindowStart, ExitWritesTheWindowCurvesAndLimitsAndNothingElse) {
  writeIni("[Config]\r\nLangId=Eng\r\nLeftAxisMaximum=-2\r\nLeftAxisMinimum=5\r\n");
  TForm1& form = start();
  form.resize(640, 480);
  form.move(20, 30);
  form.CheckBoxForce->setChecked(false);
  form.AExitExecute();
  ASSERT_EQ(exitCodes_, std::vector<int>{0});
  EXPECT_EQ(workerStops_, 0);  // the menu's Exit does not wait for the worker
  EXPECT_EQ(iniBytes(),
            QByteArray("[Config]\r\nLangId=Eng\r\nLeftAxisMaximum=5,000\r\nLeftAxisMinimum=-2,000\r\nUses=1\r\n"
                       "AccelGraph=N\r\nVelocityGraph=N\r\nDisplacementGraph=Y\r\nForceGraph=N\r\n"
                       "RightAxisMaximum=0,000\r\nRightAxisMinimum=-10,000\r\n"
                       "[FormMain]\r\nMaximized=0\r\nLeft=20\r\nTop=30\r\nWidth=640\r\nHeight=480\r\nTable1Width=500\r\n"));
}

TEST_F(MainWindowStart, ClosingTheWindowStopsTheWorkerFirstAndMaximizedKeepsTheGeometry) {
  writeIni("[Config]\r\nLangId=Rus\r\n[FormMain]\r\nWidth=600\r\n");
  TForm1& form = start();
  form.showMaximized();
  form.close();
  EXPECT_EQ(workerStops_, 1);
  ASSERT_EQ(exitCodes_, std::vector<int>{0});
  const QByteArray ini = iniBytes();
  EXPECT_TRUE(ini.contains("[FormMain]\r\nWidth=600\r\nMaximized=1\r\n")) << ini.toStdString();
  EXPECT_FALSE(ini.contains("Left=")) << ini.toStdString();
}

// An installed program may not write beside itself: its configuration lives in the user's folder,
// survives to the next start, and nothing is written into the program folder.
TEST_F(MainWindowStart, AReadOnlyProgramFolderKeepsTheConfigurationInTheUserFolder) {
  QStandardPaths::setTestModeEnabled(true);
  const FileHomes homes = fileHomes(dir_.path(), false);
  const QString userIni = homes.config + QDir::separator() + "GRX1.ini";
  QFile::remove(userIni);
  ASSERT_NE(homes.config, dir_.path());
  ASSERT_TRUE(QFileInfo(homes.config).isDir());

  ui_.languageAnswer = Language::English;
  start(homes).AExitExecute();
  EXPECT_EQ(ui_.languageDialogs, 1);
  start(homes);
  EXPECT_EQ(ui_.languageDialogs, 1);  // the language was read back
  EXPECT_EQ(currentLanguage(), Language::English);
  EXPECT_TRUE(test::readFileBytes(userIni).contains("Uses=2"));
  EXPECT_FALSE(QFileInfo::exists(iniPath()));
  QFile::remove(userIni);
  QStandardPaths::setTestModeEnabled(false);
}

// Records the addresses the program asks the desktop to open.
class OpenedUrls : public QObject {
  Q_OBJECT
 public:
  QStringList files;
 public slots:
  void open(const QUrl& url) { files << url.toLocalFile(); }
};

// Without a help file or an HTML-help viewer, F1 and the help command open the manual's contents
// in the language of the moment.
TEST_F(MainWindowStart, HelpOpensTheManualInTheCurrentLanguage) {
  for (const char* lang : {"ru", "en"}) {
    QDir(dir_.path()).mkpath(QStringLiteral("manual/") + lang);
    ASSERT_TRUE(test::writeFileBytes(dir_.filePath(QStringLiteral("manual/%1/index.html").arg(lang)), "<html></html>"));
  }
  writeIni("[Config]\r\nLangId=Rus\r\n");
  TForm1& form = start();
  form.show();
  QApplication::setActiveWindow(&form);
  OpenedUrls opened;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
  QTest::keyClick(&form, Qt::Key_F1);
  form.ALangEngExecute();
  form.Actions->AChmHelp->trigger();
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  EXPECT_EQ(opened.files, QStringList({dir_.filePath(QStringLiteral("manual/ru/index.html")),
                                       dir_.filePath(QStringLiteral("manual/en/index.html"))}));
  EXPECT_TRUE(ui_.messages.empty());
  // Nothing to open it with (the offscreen desktop starts no browser): a message names the manual.
  form.Actions->AChmHelp->trigger();
  form.ALangRusExecute();
  QTest::keyClick(&form, Qt::Key_F1);
  ASSERT_EQ(ui_.messages.size(), 2u);
  EXPECT_EQ(ui_.messages[0].text, "No help viewer or web browser could be started.\nThe user manual is here: " +
                                      QDir::toNativeSeparators(dir_.filePath(QStringLiteral("manual/en/index.html"))));
  EXPECT_EQ(ui_.messages[1].text, QStringLiteral("Не удалось запустить программу просмотра справки или браузер.\n"
                                                 "Руководство пользователя: ") +
                                      QDir::toNativeSeparators(dir_.filePath(QStringLiteral("manual/ru/index.html"))));
}

}  // namespace
}  // namespace grx

#include "MainWindowStartTest.moc"
