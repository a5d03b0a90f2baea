#include "platform/AppPaths.h"
#include "platform/TextPair.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace grx {
namespace {

TEST(AppPaths, FilesBesideTheProgram) {
  const QString sep = pathSeparator();
  const QString folder = programFolderOf(QStringLiteral("/opt/grx1/bin/grx1"));
  EXPECT_EQ(folder, QStringLiteral("/opt/grx1/bin").replace(u'/', sep));
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
