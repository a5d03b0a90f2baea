#include "TextForms.h"

#include "platform/Cp1251.h"
#include "platform/NumberFormat.h"

#include <algorithm>
#include <cstdlib>

namespace grx {
namespace {

QString twoDigits(int value) { return QString::number(value).rightJustified(2, u'0'); }

}  // namespace

QString timeText(const ImpactRecordView& r) {
  return twoDigits(r.hours()) + u':' + twoDigits(r.minutes()) + u':' + twoDigits(r.seconds());
}

QString dateText(const ImpactRecordView& r, Language language) {
  const QString year = QStringLiteral(".20") + twoDigits(r.year());
  if (language == Language::Russian) return twoDigits(r.day()) + u'.' + twoDigits(r.month()) + year;
  return twoDigits(r.month()) + u'.' + twoDigits(r.day()) + year;
}

QString dateTimeText(const ImpactRecordView& r) {
  return dateText(r, Language::Russian) + QStringLiteral(", ") + timeText(r);
}

QString nameText(const std::uint8_t* field) {
  const int length = static_cast<std::int8_t>(field[0]);
  if (length < 1 || length > 19) return {};
  // A zero byte ends the text: no NUL reaches a cell, a copy or a report.
  const std::uint8_t* text = field + 1;
  const int shown = int(std::find(text, text + length, std::uint8_t(0)) - text);
  return fromCp1251(reinterpret_cast<const char*>(text), shown);
}

void writeNameField(std::uint8_t* field, const QString& text) {
  const int n = int(std::min<qsizetype>(text.size(), 19));
  for (int i = 0; i < n; ++i) field[1 + i] = unicodeToCp1251(text[i]);
  field[0] = std::uint8_t(n);
  if (n < 19) field[1 + n] = 0;
}

QString coordinateText(std::int32_t word, CoordinateKind kind, Language language) {
  if (word == 0) return QStringLiteral("-");
  const std::uint32_t m = word < 0 ? std::uint32_t(-std::int64_t(word)) : std::uint32_t(word);
  const std::uint32_t high = m >> 16;
  const std::uint32_t degrees = high / 100;
  const std::uint32_t minutes = high % 100;
  const std::uint32_t limit = kind == CoordinateKind::Latitude ? 90 : 180;
  if (degrees > limit) return QStringLiteral("-");
  const int tenths = int(double(m & 0xFFFF) * 600.0 / 65536.0 + 0.5);
  const double seconds = tenths / 10.0;
  const bool negative = word < 0;
  const char* hemisphere;
  if (kind == CoordinateKind::Latitude)
    hemisphere = language == Language::Russian ? (negative ? "ЮШ" : "СШ") : (negative ? "S" : "N");
  else
    hemisphere = language == Language::Russian ? (negative ? "ЗД" : "ВД") : (negative ? "W" : "E");
  return twoDigits(int(degrees)) + u'°' + twoDigits(int(minutes)) + u'\'' + formatFloat(seconds, u"00.0") +
         QStringLiteral("\" ") + QString::fromUtf8(hemisphere);
}

}  // namespace grx
