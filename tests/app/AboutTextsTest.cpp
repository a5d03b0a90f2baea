#include "app/AboutTexts.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace grx {
namespace {

TEST(AboutTexts, DateTextsOfTheBuildDate) {
  struct Case {
    const char* date;
    const char* english;
    const char* russian;
  };
  const Case cases[] = {
      {"Feb 16 2017", ", 16 Feb 2017", " от 16 февраля 2017 г."},
      {"Jan  5 2024", ", 5 Jan 2024", " от 5 января 2024 г."},
      {"Mar 01 2020", ", 01 Mar 2020", " от 01 марта 2020 г."},
      {"May 31 2025", ", 31 May 2025", " от 31 мая 2025 г."},
      {"Aug 12 2026", ", 12 Aug 2026", " от 12 августа 2026 г."},
      {"Dec 24 2026", ", 24 Dec 2026", " от 24 декабря 2026 г."},
      // An unknown month is January in Russian and stays as read in English; compared exactly.
      {"Foo 16 2017", ", 16 Foo 2017", " от 16 января 2017 г."},
      {"feb 16 2017", ", 16 feb 2017", " от 16 января 2017 г."},
      // Not all three fields: no date text.
      {"Feb 16", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(aboutDateText(QString::fromLatin1(c.date), Language::English), QString::fromUtf8(c.english)) << c.date;
    EXPECT_EQ(aboutDateText(QString::fromLatin1(c.date), Language::Russian), QString::fromUtf8(c.russian)) << c.date;
  }
}

TEST(AboutTexts, VersionLineCaptionAndNotice) {
  AboutInfo info;
  info.internalName = QStringLiteral("GRX1");
  info.fileVersion = QStringLiteral("1.5.0.36");
  info.buildDate = QStringLiteral("Feb 16 2017");
  info.legalCopyright = QStringLiteral("© Разработчики");
  info.legalCopyrightEn = QStringLiteral("(c) Developers");
  EXPECT_EQ(aboutVersionLine(info, Language::English), QStringLiteral("Version 1.5.0.36, 16 Feb 2017"));
  EXPECT_EQ(aboutVersionLine(info, Language::Russian), QStringLiteral("Версия 1.5.0.36 от 16 февраля 2017 г."));
  EXPECT_EQ(aboutCaption(info, Language::English), QStringLiteral("About GRX1"));
  EXPECT_EQ(aboutCaption(info, Language::Russian), QStringLiteral("О программе GRX1"));
  EXPECT_EQ(aboutCopyright(info, Language::Russian), QStringLiteral("© Разработчики"));
  EXPECT_EQ(aboutCopyright(info, Language::English), QStringLiteral("(c) Developers"));
}

TEST(AboutTexts, ThisBuildHasVersionAndADate) {
  const AboutInfo info = programAboutInfo();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(info.fileVersion).hasMatch())
      << info.fileVersion.toStdString();
  EXPECT_EQ(info.internalName, QStringLiteral("GRX1"));
  EXPECT_TRUE(aboutDateText(info.buildDate, Language::English).startsWith(QStringLiteral(", ")));
}

}  // namespace
}  // namespace grx
