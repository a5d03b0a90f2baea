#include "platform/AppPaths.h"
#include "platform/TextPair.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace grx {
namespace {

TEST(AppPaths, FilesBesideTheProgram) {
  const QString sep = pathSeparator();
  const QString folder = programFolderOf(QDir::rootPath() + QStringLiteral("opt/grx1/bin/grx1"));
  EXPECT_EQ(folder, QString(QDir::rootPath() + QStringLiteral("opt/grx1/bin")).replace(u'/', sep));
  EXPECT_FALSE(folder.endsWith(sep));
  EXPECT_EQ(configFilePath(folder), folder + sep + "GRX1.ini");
  EXPECT_EQ(helpFilePath(folder), folder + sep + "Help" + sep + "GRX1Help.hlp");
}

TEST(AppPaths, AWritableProgramFolderKeepsItsFilesBesideTheProgram) {
  QTemporaryDir dir;
  const QString notAFolder = dir.filePath(QStringLiteral("file"));
  QFile(notAFolder).open(QIODevice::WriteOnly);
  EXPECT_TRUE(folderIsWritable(dir.path()));
  EXPECT_FALSE(folderIsWritable(notAFolder));
  EXPECT_FALSE(folderIsWritable(dir.filePath(QStringLiteral("missing"))));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);
  const FileHomes homes = fileHomes(dir.path());
  EXPECT_EQ(homes.config, dir.path());
  EXPECT_EQ(homes.data, dir.path());
}

// A folder the user could write to is still an installed program's when the setup program's
// uninstaller lies in it (Windows) or it is bin beside share/doc/grx1 (Linux).
TEST(AppPaths, AnInstalledProgramKeepsItsFilesInTheUsersFolders) {
  QStandardPaths::setTestModeEnabled(true);
  struct Case {
    const char* marker;  // created below the temporary folder
    bool markerIsFolder;
    bool beside;
  };
  const Case cases[] = {
      {"bin/Uninstall.exe", false, false},
      {"share/doc/grx1", true, false},
      {"bin/uninstall.txt", false, true},
      {"bin/share/doc/grx1", true, true},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("bin"));
    const QString marker = dir.filePath(QString::fromLatin1(c.marker));
    if (c.markerIsFolder) QDir().mkpath(marker);
    else QFile(marker).open(QIODevice::WriteOnly);
    const QString program = QDir::toNativeSeparators(dir.filePath(QStringLiteral("bin")));
    const FileHomes homes = fileHomes(program);
    EXPECT_EQ(homes.config == program, c.beside) << c.marker;
    EXPECT_EQ(homes.data == program, c.beside) << c.marker;
  }
  QStandardPaths::setTestModeEnabled(false);
}

TEST(TextPair, CurrentLanguagePicksTheText) {
  constexpr TextPair pair{"Выход", "Exit"};
  const Language before = currentLanguage();
  setCurrentLanguage(Language::English);
  EXPECT_EQ(pair.text(), "Exit");
  setCurrentLanguage(Language::Russian);
  EXPECT_EQ(pair.text(), QStringLiteral("Выход"));
  EXPECT_EQ(pair.text(Language::English), "Exit");
  setCurrentLanguage(before);
}

}  // namespace
}  // namespace grx
