#include "platform/Cp1251.h"

#include <gtest/gtest.h>

#include <set>

namespace grx {
namespace {

TEST(Cp1251, EveryAssignedByteRoundTripsToADistinctCharacter) {
  std::set<char16_t> seen;
  for (int b = 0; b < 256; ++b) {
    if (b == 0x98) continue;  // unassigned in the code page
    const QChar ch = cp1251ToUnicode(std::uint8_t(b));
    EXPECT_TRUE(seen.insert(ch.unicode()).second) << "byte " << b;
    EXPECT_EQ(unicodeToCp1251(ch), b) << "byte " << b;
  }
}

TEST(Cp1251, KnownCharacters) {
  struct Case {
    unsigned char byte;
    char16_t unicode;
  };
  for (const Case& c : {Case{0xC0, u'А'}, Case{0xFF, u'я'}, Case{0xA8, u'Ё'}, Case{0xB8, u'ё'}, Case{0xB9, u'№'},
                        Case{0x88, u'€'}, Case{0xB0, u'°'}, Case{0x41, u'A'}}) {
    EXPECT_EQ(cp1251ToUnicode(c.byte).unicode(), c.unicode);
    EXPECT_EQ(unicodeToCp1251(QChar(c.unicode)), c.byte);
  }
}

TEST(Cp1251, TextConversionBothWays) {
  const QString text = QStringLiteral("Песок, Грунт - 1");
  const QByteArray bytes = toCp1251(text);
  EXPECT_EQ(bytes.size(), text.size());
  EXPECT_EQ(std::uint8_t(bytes[0]), 0xCF);  // П
  EXPECT_EQ(fromCp1251(bytes), text);
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(toCp1251(QStringLiteral("a中b")), QByteArray("a?b"));
}

}  // namespace
TEST(Cp1251, TheNonRussianLettersMapBothWays) {
  // Belarusian, Ukrainian, Serbian and Macedonian letters of the code page.
  const struct {
    unsigned char byte;
    char16_t ch;
  } cases[] = {
      {0xA1, u'Ў'}, {0xA2, u'ў'}, {0x80, u'Ђ'}, {0x81, u'Ѓ'}, {0x83, u'ѓ'}, {0x8A, u'Љ'}, {0x8C, u'Њ'},
      {0x8D, u'Ќ'}, {0x8E, u'Ћ'}, {0x8F, u'Џ'}, {0x90, u'ђ'}, {0x9A, u'љ'}, {0x9C, u'њ'}, {0x9D, u'ќ'},
      {0x9E, u'ћ'}, {0x9F, u'џ'}, {0xA3, u'Ј'}, {0xA5, u'Ґ'}, {0xAA, u'Є'}, {0xAF, u'Ї'}, {0xB2, u'І'},
      {0xB3, u'і'}, {0xB4, u'ґ'}, {0xBA, u'є'}, {0xBC, u'ј'}, {0xBD, u'Ѕ'}, {0xBE, u'ѕ'}, {0xBF, u'ї'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cp1251ToUnicode(c.byte), QChar(c.ch)) << int(c.byte);
    EXPECT_EQ(unicodeToCp1251(QChar(c.ch)), c.byte) << int(c.byte);
  }
}

}  // namespace grx
