#include "platform/IniFile.h"

#include "support/FileBytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace grx {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  QString path() const { return dir_.filePath(QStringLiteral("GRX1.ini")); }
  void writeBytes(const QByteArray& bytes) const { ASSERT_TRUE(test::writeFileBytes(path(), bytes)); }
  QByteArray readBytes() const { return test::readFileBytes(path()); }
  QTemporaryDir dir_;
};

const QByteArray kSample =
    "; settings of the program\r\n"
    "[Config]\r\n"
    "LangId=Rus\r\n"
    "  Super =  Y  \r\n"
    "Quoted=\"  -0,500 \"\r\n"
    "\r\n"
    "[FormMain]\r\n"
    "Width=640\r\n"
    "\r\n";

TEST_F(IniFileTest, MissingFileOrKeyGivesTheDefaultWithoutTrailingBlanks) {
  IniFile ini(path());
  EXPECT_EQ(ini.readString("Config", "LangId", "none"), "none");
  writeBytes(kSample);
  EXPECT_EQ(ini.readString("Config", "Uses", "0  "), "0");
  EXPECT_EQ(ini.readString("Other", "LangId", ""), "");
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndBlanksAndQuotesDoNotCount) {
  writeBytes(kSample);
  IniFile ini(path());
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  for (const Case& c : {Case{"Config", "LangId", "Rus"}, Case{"CONFIG", "langid", "Rus"}, Case{"config", "SUPER", "Y"},
                        Case{"Config", "Quoted", "  -0,500 "}, Case{"formmain", "width", "640"},
                        Case{"FormMain", "LangId", "-"}}) {
    EXPECT_EQ(ini.readString(c.section, c.key, "-"), QString::fromUtf8(c.expected)) << c.section << "/" << c.key;
  }
}

TEST_F(IniFileTest, ValueIsCutToTheBufferSizeLessOne) {
  writeBytes("[Config]\r\nLeftAxisMaximum=1234567890AB\r\n");
  IniFile ini(path());
  EXPECT_EQ(ini.readString("Config", "LeftAxisMaximum", "", 10), "123456789");
  EXPECT_EQ(ini.readString("Config", "LeftAxisMaximum", "", 256), "1234567890AB");
  EXPECT_EQ(ini.readString("Config", "Missing", "123456789012", 5), "1234");
}

TEST_F(IniFileTest, WritingAnExistingKeyChangesOnlyItsLine) {
  writeBytes(kSample);
  IniFile ini(path());
  ASSERT_TRUE(ini.writeString("config", "LANGID", "Eng"));
  QByteArray expected = kSample;
  expected.replace("LangId=Rus", "LANGID=Eng");
  EXPECT_EQ(readBytes(), expected);
}

TEST_F(IniFileTest, NewKeyGoesAfterTheLastLineOfItsSection) {
  writeBytes(kSample);
  IniFile ini(path());
  ASSERT_TRUE(ini.writeString("Config", "Uses", "1"));
  QByteArray expected = kSample;
  expected.replace("Quoted=\"  -0,500 \"\r\n", "Quoted=\"  -0,500 \"\r\nUses=1\r\n");
  EXPECT_EQ(readBytes(), expected);
}

TEST_F(IniFileTest, NewSectionIsAppendedAndNewFileCreated) {
  IniFile ini(path());
  ASSERT_TRUE(ini.writeString("Config", "Uses", "1"));
  EXPECT_EQ(readBytes(), QByteArray("[Config]\r\nUses=1\r\n"));
  ASSERT_TRUE(ini.writeString("Screenshot", "Left", "10"));
  EXPECT_EQ(readBytes(), QByteArray("[Config]\r\nUses=1\r\n[Screenshot]\r\nLeft=10\r\n"));
  EXPECT_EQ(ini.readString("Screenshot", "Left", ""), "10");
}

TEST_F(IniFileTest, FileBytesAreWindows1251) {
  IniFile ini(path());
  ASSERT_TRUE(ini.writeString("Names", "Name1", QStringLiteral("Песок")));
  EXPECT_EQ(readBytes(), QByteArray("[Names]\r\nName1=\xCF\xE5\xF1\xEE\xEA\r\n"));
  EXPECT_EQ(ini.readString("Names", "Name1", ""), QStringLiteral("Песок"));
}

TEST_F(IniFileTest, UnwritableFileIsReportedAndNothingIsCreated) {
  IniFile ini(dir_.filePath(QStringLiteral("missing-folder/GRX1.ini")));
  EXPECT_FALSE(ini.writeString("Config", "Uses", "1"));
  EXPECT_EQ(ini.readString("Config", "Uses", "0"), "0");
}

TEST_F(IniFileTest, ALineStartingWithASemicolonIsAComment) {
  const struct {
    QByteArray file;
    const char* langId;
  } cases[] = {
      {"[Config]\r\n;LangId=Eng\r\n", "none"},
      {"[Config]\r\n;LangId=Eng\r\nLangId=Rus\r\n", "Rus"},
      {"[Config]\r\nLangId=Rus\r\n;LangId=Eng\r\n", "Rus"},
      {";[Config]\r\nLangId=Eng\r\n", "none"},
  };
  for (const auto& c : cases) {
    writeBytes(c.file);
    IniFile ini(path());
    EXPECT_EQ(ini.readString("Config", "LangId", "none"), QString::fromLatin1(c.langId)) << c.file.constData();
  }
  // A write does not take the comment for the key.
  writeBytes("[Config]\r\n;LangId=Eng\r\n");
  ASSERT_TRUE(IniFile(path()).writeString("Config", "LangId", "Rus"));
  EXPECT_EQ(readBytes(), QByteArray("[Config]\r\n;LangId=Eng\r\nLangId=Rus\r\n"));
}

}  // namespace
}  // namespace grx
