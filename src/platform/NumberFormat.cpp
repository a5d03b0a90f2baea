#include "NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace grx {
namespace {

struct Picture {
  int minIntegerDigits = 0;
  int decimals = 0;
};

Picture parsePicture(QStringView picture) {
  Picture p;
  const qsizetype point = picture.indexOf(u'.');
  const QStringView integerPart = point < 0 ? picture : picture.left(point);
  for (QChar c : integerPart) {
    if (c == u'0') ++p.minIntegerDigits;
  }
  if (point >= 0) p.decimals = int(picture.size() - point - 1);
  return p;
}

// Rounds |value| to `decimals` places, halves away from zero, and returns the digits without the
// point (integer digits followed by exactly `decimals` digits). The exact binary value is expanded
// well past the rounding place, so only true halves round up.
std::string roundedDigits(double magnitude, int decimals) {
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, decimals + 20);
  std::string text(buf, res.ptr);
  const size_t point = text.find('.');
  std::string digits = text.substr(0, point) + text.substr(point + 1);
  const size_t keep = digits.size() - 20;
  const bool roundUp = digits[keep] >= '5';
  digits.resize(keep);
  if (roundUp) {
    int i = int(digits.size()) - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) ++digits[i];
    else digits.insert(digits.begin(), '1');
  }
  return digits;
}

}  // namespace

QString formatFloat(double value, QStringView picture, QChar separator) {
  if (!std::isfinite(value)) return QStringLiteral("NAN");
  const Picture p = parsePicture(picture);
  std::string digits = roundedDigits(std::fabs(value), p.decimals);
  std::string integer = digits.substr(0, digits.size() - p.decimals);
  const std::string fraction = digits.substr(digits.size() - p.decimals);
  size_t firstNonZero = integer.find_first_not_of('0');
  integer = firstNonZero == std::string::npos ? std::string() : integer.substr(firstNonZero);
  const bool isZero = integer.empty() && fraction.find_first_not_of('0') == std::string::npos;
  if (int(integer.size()) < p.minIntegerDigits) integer.insert(0, p.minIntegerDigits - integer.size(), '0');
  QString text;
  text.reserve(int(integer.size() + fraction.size()) + 2);
  if (value < 0 && !isZero) text += u'-';
  text += QLatin1StringView(integer.data(), qsizetype(integer.size()));
  if (p.decimals > 0) {
    text += separator;
    text += QLatin1StringView(fraction.data(), qsizetype(fraction.size()));
  }
  return text;
}

double parseDecimal(QStringView text, bool* ok) {
  const QStringView t = text.trimmed();
  std::string ascii;
  ascii.reserve(size_t(t.size()));
  for (QChar c : t) {
    if (c == u',') c = u'.';
    if (c.unicode() > 0x7F) {
      if (ok) *ok = false;
      return 0.0;
    }
    ascii.push_back(char(c.unicode()));
  }
  const char* begin = ascii.data();
  const char* end = begin + ascii.size();
  if (begin != end && *begin == '+') ++begin;
  double value = 0.0;
  const auto res = std::from_chars(begin, end, value, std::chars_format::general);
  const bool good = begin != end && res.ec == std::errc() && res.ptr == end;
  if (ok) *ok = good;
  return good ? value : 0.0;
}

int parseInteger(QStringView text, bool* ok) {
  const QStringView t = text.trimmed();
  std::string ascii;
  for (QChar c : t) ascii.push_back(c.unicode() < 0x80 ? char(c.unicode()) : '?');
  const char* begin = ascii.data();
  const char* end = begin + ascii.size();
  if (begin != end && *begin == '+') ++begin;
  int value = 0;
  const auto res = std::from_chars(begin, end, value);
  const bool good = begin != end && res.ec == std::errc() && res.ptr == end;
  if (ok) *ok = good;
  return good ? value : 0;
}

}  // namespace grx
