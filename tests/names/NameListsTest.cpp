// Name-list files, the default lists and the save-name rule of the name editors.
#include "config/Settings.h"
#include "names/NameLists.h"
#include "platform/IniFile.h"
#include "support/FileBytes.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace grx {
namespace {

using test::readFileBytes;
using test::writeFileBytes;

class NameListFile : public ::testing::Test {
 protected:
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QTemporaryDir dir;
};

TEST_F(NameListFile, OnlyName05LoadsName6AndLeavesTheOthersEmpty) {
  // "Песок" in Windows-1251.
  ASSERT_TRUE(writeFileBytes(path("one.mtgrx"), "[Materials Names]\r\nName05=\xCF\xE5\xF1\xEE\xEA\r\n"));
  NameBlock block;
  block.fill(0x55);  // whatever the block held: every slot is stored again
  ASSERT_TRUE(readNameListFile(path("one.mtgrx"), NameList::Materials, block));
  const QStringList names = namesOfBlock(block);
  for (int k = 0; k < 13; ++k) EXPECT_EQ(names[k], k == 5 ? QStringLiteral("Песок") : QString()) << k;
  const std::uint8_t slot5[7] = {5, 0xCF, 0xE5, 0xF1, 0xEE, 0xEA, 0};
  EXPECT_TRUE(std::equal(slot5, slot5 + 7, block.begin() + 100));
  EXPECT_EQ(block[0], 0) << "an empty name has length 0";
}

TEST_F(NameListFile, AFileWithoutAnyNameOfTheListIsRefusedAndTheBlockKept) {
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"other-section.mtgrx", "[Objects Names]\r\nName00=Layer\r\n"},
      {"empty-values.mtgrx", "[Materials Names]\r\nName00=\r\nName12=   \r\n"},
      {"wrong-keys.mtgrx", "[Materials Names]\r\nName13=Sand\r\nName5=Clay\r\n"},
      {"not-ini.mtgrx", QByteArray("\x00\x01\x02garbage", 10)},
      // a name ends at a zero byte, so this one is empty
      {"zero-byte.mtgrx", QByteArray("[Materials Names]\r\nName00=") + QByteArray(2, '\0') + "Sand\r\n"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(writeFileBytes(path(c.name), c.bytes));
    NameBlock block, sevens;
    block.fill(7);
    sevens.fill(7);
    EXPECT_FALSE(readNameListFile(path(c.name), NameList::Materials, block)) << c.name;
    EXPECT_EQ(block, sevens) << c.name;
  }
  NameBlock block{};
  EXPECT_FALSE(readNameListFile(path("missing.mtgrx"), NameList::Materials, block));
}

TEST_F(NameListFile, AValueCountsWithAtMost19CharactersAndKeysAreCaseInsensitive) {
  ASSERT_TRUE(writeFileBytes(path("long.objgrx"), "[objects names]\r\nname01=ABCDEFGHIJKLMNOPQRSTUVWXY\r\n"));
  NameBlock block{};
  ASSERT_TRUE(readNameListFile(path("long.objgrx"), NameList::Objects, block));
  EXPECT_EQ(namesOfBlock(block)[1], "ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(block[20], 19);
  EXPECT_EQ(block[39], 'S') << "19 characters fill the slot: no terminating zero";
}

TEST_F(NameListFile, WritesThe13KeysInOrderInWindows1251) {
  NameBlock block{};
  setBlockNames(block, {"", "Sand", "Глина"});
  ASSERT_TRUE(writeNameListFile(path("out.mtgrx"), NameList::Materials, block));
  QByteArray expected = "[Materials Names]\r\nName00=\r\nName01=Sand\r\nName02=\xC3\xEB\xE8\xED\xE0\r\n";
  for (int k = 3; k < 13; ++k) expected += QStringLiteral("Name%1=\r\n").arg(k, 2, 10, QLatin1Char('0')).toLatin1();
  EXPECT_EQ(readFileBytes(path("out.mtgrx")), expected);

  // Read back, the same block.
  NameBlock again{};
  ASSERT_TRUE(readNameListFile(path("out.mtgrx"), NameList::Materials, again));
  EXPECT_EQ(namesOfBlock(again), namesOfBlock(block));
}

#ifndef _WIN32  // FIFOs and /dev exist on POSIX systems only
TEST_F(NameListFile, OnlyRegularFilesOfSaneSizeAreReadAndABomMeansUtf8) {
  ASSERT_TRUE(writeFileBytes(path("big.mtgrx"), "[Materials Names]\r\nName00=Sand\r\n" + QByteArray(1 << 20, ';')));
  ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo.mtgrx")).constData(), 0644), 0);
  // What a text editor saves: UTF-8 with its byte-order mark ("Гравий").
  ASSERT_TRUE(writeFileBytes(path("bom.mtgrx"), "\xEF\xBB\xBF[Materials Names]\r\nName03=\xD0\x93\xD1\x80\xD0\xB0\xD0\xB2\xD0\xB8\xD0\xB9\r\n"));
  const struct {
    QString file;
    bool read;
  } cases[] = {{path("big.mtgrx"), false}, {path("fifo.mtgrx"), false}, {"/dev/zero", false},
               {"/dev/urandom", false},    {path("bom.mtgrx"), true}};
  for (const auto& c : cases) {
    NameBlock block{};
    EXPECT_EQ(readNameListFile(c.file, NameList::Materials, block), c.read) << c.file.toStdString();
    EXPECT_EQ(namesOfBlock(block).value(3), c.read ? QStringLiteral("Гравий") : QString()) << c.file.toStdString();
    // Nor is such a file written over.
    EXPECT_TRUE(c.read || !writeNameListFile(c.file, NameList::Materials, block)) << c.file.toStdString();
  }
  EXPECT_TRUE(QFileInfo(path("big.mtgrx")).size() > 1 << 20);
  // Written back: Windows-1251, no mark.
  NameBlock block = defaultNameBlock(NameList::Materials, Language::English);
  ASSERT_TRUE(writeNameListFile(path("bom.mtgrx"), NameList::Materials, block));
  EXPECT_TRUE(readFileBytes(path("bom.mtgrx")).startsWith("[Materials Names]\r\nName03=Loam\r\nName00=Not def.\r\n"));
}
#endif

// (A tester's name with a line break: grx1-cli's names test.)
TEST_F(NameListFile, ALineBreakInAFolderOrValueNeverAddsALine) {
  const IniFile ini(path("GRX1.ini"));
  writeLastReadPath(ini, QStringLiteral("/home/lab/\n[Screenshot]\nPenColor=0/"));
  ASSERT_TRUE(ini.writeString("Config", "Lang\rId", "Eng\n[Screenshot]"));
  EXPECT_EQ(readFileBytes(path("GRX1.ini")), "[Config]\r\nLang Id=Eng [Screenshot]\r\n");
}

TEST(NameLists, DefaultListsInBothLanguagesAsSlots) {
  EXPECT_EQ(defaultNames(NameList::Materials, Language::English),
            (QStringList{"Not def.", "Sand", "Loamy sand", "Loam", "Clay", "Soil - 1", "Soil - 2", "Soil - 3",
                         "Soil - 4", "Soil - 5", "Soil - 6", "Soil - 7", "Soil - 8"}));
  EXPECT_EQ(defaultNames(NameList::Objects, Language::Russian)[4], "Поверхностный слой");
  EXPECT_EQ(defaultNames(NameList::Objects, Language::English)[12], "Object 8");
  EXPECT_EQ(defaultNames(NameList::Materials, Language::Russian)[0], "Не выбран");

  // "Подстилающий грунт": 18 characters, length byte, Windows-1251, a terminating zero.
  const NameBlock block = defaultNameBlock(NameList::Objects, Language::Russian);
  const std::uint8_t slot1[20] = {18,   0xCF, 0xEE, 0xE4, 0xF1, 0xF2, 0xE8, 0xEB, 0xE0, 0xFE,
                                  0xF9, 0xE8, 0xE9, 0x20, 0xE3, 0xF0, 0xF3, 0xED, 0xF2, 0};
  EXPECT_TRUE(std::equal(slot1, slot1 + 20, block.begin() + 20));
}

TEST(NameLists, SaveNameRuleOfBothTwins) {
  const struct {
    NameList list;
    const char* chosen;
    const char* saved;
    bool askAgain;
  } cases[] = {
      {NameList::Materials, "/d/names.grx", "/d/names.mtgrx", true},
      {NameList::Materials, "/d/names.objgrx", "/d/names.mtgrx", true},
      {NameList::Materials, "/d/names.txt", "/d/names.txt.mtgrx", false},
      {NameList::Materials, "/d/names.", "/d/names.mtgrx", false},
      {NameList::Materials, "/d/names", "/d/names.mtgrx", false},
      {NameList::Materials, "/d/names.mtgrx", "/d/names.mtgrx", false},
      {NameList::Materials, "/d/names.MTGRX", "/d/names.MTGRX.mtgrx", false},  // compared case-sensitively
      {NameList::Materials, "/d.x/names", "/d.x/names.mtgrx", false},          // a dot in the folder is no extension
      {NameList::Objects, "/d/names.mtgrx", "/d/names.objgrx", true},
      {NameList::Objects, "/d/names.grx", "/d/names.objgrx", true},
      {NameList::Objects, "/d/names.objgrx", "/d/names.objgrx", false},
      {NameList::Objects, "C:\\d\\names.", "C:\\d\\names.objgrx", false},
  };
  for (const auto& c : cases) {
    bool again = !c.askAgain;
    EXPECT_EQ(correctedNameListFile(c.list, QString::fromLatin1(c.chosen), &again), QString::fromLatin1(c.saved))
        << c.chosen;
    EXPECT_EQ(again, c.askAgain) << c.chosen;
  }
}

TEST(NameLists, ProposedNameIsTheDateAndTimeWithTheOwnExtension) {
  const QDateTime at(QDate(2026, 3, 7), QTime(9, 5, 59));
  EXPECT_EQ(proposedNameListFile(NameList::Materials, at), "260307.0905.mtgrx");
  EXPECT_EQ(proposedNameListFile(NameList::Objects, at), "260307.0905.objgrx");
  EXPECT_EQ(nameListFilters(NameList::Objects).front(), "Objects (*.objgrx)");
}

}  // namespace
}  // namespace grx
