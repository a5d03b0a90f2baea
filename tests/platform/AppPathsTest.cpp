#include "platform/AppPaths.h"
#include "platform/TextPair.h"

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
