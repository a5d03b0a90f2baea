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
}  // namespace grx
