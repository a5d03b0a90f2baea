#include "data/TextForms.h"

#include "support/RecordBuilder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace grx {
namespace {

using test::coordinate;
using test::RecordBuilder;

TEST(TextForms, TimeAndDateInBothLanguages) {
  struct Case {
    int day, month, year, h, m, s;
    const char *time, *ru, *en, *dateTime;
  };
  const Case cases[] = {
      {7, 3, 16, 14, 5, 9, "14:05:09", "07.03.2016", "03.07.2016", "07.03.2016, 14:05:09"},
      {31, 12, 5, 0, 0, 0, "00:00:00", "31.12.2005", "12.31.2005", "31.12.2005, 00:00:00"},
      {1, 1, 123, 23, 59, 59, "23:59:59", "01.01.20123", "01.01.20123", "01.01.20123, 23:59:59"},
  };
  for (const Case& c : cases) {
    RecordBuilder r;
    r.stamp(c.day, c.month, c.year, c.h, c.m, c.s);
    const ImpactRecordView v(r.bytes());
    EXPECT_EQ(timeText(v), c.time);
    EXPECT_EQ(dateText(v, Language::Russian), c.ru);
    EXPECT_EQ(dateText(v, Language::English), c.en);
    EXPECT_EQ(dateTimeText(v), c.dateTime);
  }
}

TEST(TextForms, NameFieldLengthByte) {
  struct Case {
    std::uint8_t length;
    int expectedLength;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{19, 19}, Case{20, 0}, Case{0xC8, 0}, Case{0xFF, 0}}) {
    std::uint8_t field[kNameFieldSize];
    std::fill(std::begin(field), std::end(field), std::uint8_t(0xE0));  // 'а'
    field[0] = c.length;
    EXPECT_EQ(nameText(field), QString(c.expectedLength, u'а')) << int(c.length);
  }
}

TEST(TextForms, WritingANameKeepsTheBytesAfterItsEnd) {
  std::uint8_t field[kNameFieldSize];
  std::fill(std::begin(field), std::end(field), std::uint8_t('X'));
  writeNameField(field, QStringLiteral("Глина"));
  EXPECT_EQ(field[0], 5);
  EXPECT_EQ(field[1], 0xC3);  // Г
  EXPECT_EQ(field[6], 0);
  EXPECT_EQ(field[7], 'X');
  EXPECT_EQ(nameText(field), QStringLiteral("Глина"));

  writeNameField(field, QStringLiteral("abcdefghijklmnopqrstuvwxy"));  // 25 characters
  EXPECT_EQ(field[0], 19);
  EXPECT_EQ(nameText(field), QStringLiteral("abcdefghijklmnopqrs"));

  writeNameField(field, QString());
  EXPECT_EQ(field[0], 0);
  EXPECT_EQ(field[1], 0);
  EXPECT_EQ(nameText(field), QString());
}

TEST(TextForms, WritingANameLeavesTheNextSlotOfANameBlockAlone) {
  // Two slots of a name block: the first name must stay inside its 20 bytes.
  const struct {
    const char* name;
    int zeroAt;  // the byte written as 0 after a shorter name, or -1
  } cases[] = {{"abcdefghijklmnopqrs", -1}, {"abcdefghijklmnopqr", 19}, {"abcdefghijklmnopqrstu", -1}};
  for (const auto& c : cases) {
    std::uint8_t block[2 * kNameFieldSize];
    std::fill(std::begin(block), std::end(block), std::uint8_t(0x55));
    writeNameField(block, QString::fromLatin1(c.name));
    for (int i = kNameFieldSize; i < 2 * kNameFieldSize; ++i) EXPECT_EQ(block[i], 0x55) << c.name << " byte " << i;
    if (c.zeroAt >= 0) {
      EXPECT_EQ(block[c.zeroAt], 0) << c.name;
    }
    EXPECT_EQ(nameText(block), QString::fromLatin1(c.name).left(19));
  }
}

TEST(TextForms, AZeroByteEndsTheName) {
  const struct {
    QByteArray field;
    const char* text;
  } cases[] = {
      {QByteArray("\x05" "ab\0cd", 6), "ab"},
      {QByteArray("\x03" "\0xy", 4), ""},
      {QByteArray("\x13" "abcdefghijklmnopqr\0", 20), "abcdefghijklmnopqr"},
      {QByteArray("\x04" "\xc3\xeb\0\xe0", 5), "Гл"},
  };
  for (const auto& c : cases) {
    std::uint8_t field[kNameFieldSize] = {};
    std::memcpy(field, c.field.constData(), std::size_t(c.field.size()));
    const QString text = nameText(field);
    EXPECT_EQ(text, QString::fromUtf8(c.text));
    EXPECT_FALSE(text.contains(QChar(0)));
  }
}

TEST(TextForms, CoordinateTexts) {
  const auto lat = CoordinateKind::Latitude;
  const auto lon = CoordinateKind::Longitude;
  const auto ru = Language::Russian;
  const auto en = Language::English;
  struct Case {
    std::int32_t word;
    CoordinateKind kind;
    Language language;
    const char* expected;
  };
  const Case cases[] = {
      {0, lat, ru, "-"},
      {coordinate(5509, 26214), lat, ru, "55°09'24,0\" СШ"},
      {coordinate(6123, 32768, true), lon, en, "61°23'30,0\" W"},
      {coordinate(6123, 32768, true), lon, ru, "61°23'30,0\" ЗД"},
      {coordinate(3737, 0), lon, ru, "37°37'00,0\" ВД"},
      {coordinate(3737, 0), lon, en, "37°37'00,0\" E"},
      {coordinate(3350, 100, true), lat, ru, "33°50'00,1\" ЮШ"},
      {coordinate(3350, 100, true), lat, en, "33°50'00,1\" S"},
      {coordinate(509, 0xFFFF), lat, en, "05°09'60,0\" N"},
      {coordinate(9100, 0), lat, en, "-"},
      {coordinate(9000, 0), lat, en, "90°00'00,0\" N"},
      {coordinate(18000, 0), lon, en, "180°00'00,0\" E"},
      {coordinate(18100, 0), lon, en, "-"},
      {coordinate(9100, 0), lon, en, "91°00'00,0\" E"},
      {INT_MIN, lon, en, "-"},
      // Fractions where 1/65535 of a minute would round to the next tenth of a second.
      {coordinate(5509, 1693), lat, en, "55°09'01,5\" N"},
      {coordinate(5509, 5079), lat, en, "55°09'04,6\" N"},
      {coordinate(5509, 65481), lat, en, "55°09'59,9\" N"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(coordinateText(c.word, c.kind, c.language), QString::fromUtf8(c.expected)) << c.word;
}

}  // namespace
}  // namespace grx
