#include "NumberFormat.h"

#include <algorithm>
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

// Room for the exact expansion of any finite double with up to 60 + 20 decimals (309 integer
// digits at most); a text adds a sign, at most 200 padding zeros and the separator.
constexpr int kMaxText = 400;
constexpr int kMaxOut = 2 * kMaxText;

// Writes the text of value in the picture into out and returns its length. |value| is expanded
// exactly well past the rounding place, so only true halves round up (away from zero).
int formatInto(double value, const Picture& p, char separator, char* out) {
  if (!std::isfinite(value)) {
    std::memcpy(out, "NAN", 3);
    return 3;
  }
  const int decimals = std::min(p.decimals, 60);
  char expanded[kMaxText];
  const auto res = std::to_chars(expanded, expanded + sizeof expanded, std::fabs(value), std::chars_format::fixed, decimals + 20);
  const char* point = std::find(expanded, res.ptr, '.');
  // A leading 0 takes the carry of a rounding such as 9,96 -> 10,0.
  char digits[kMaxText];
  int n = 0;
  digits[n++] = '0';
  for (const char* c = expanded; c != point; ++c) digits[n++] = *c;
  for (int i = 0; i < decimals; ++i) digits[n++] = point[1 + i];
  if (point[1 + decimals] >= '5') {
    int i = n - 1;
    while (digits[i] == '9') digits[i--] = '0';
    ++digits[i];
  }
  const int integerEnd = n - decimals;
  int first = 0;
  while (first < integerEnd && digits[first] == '0') ++first;
  bool isZero = first == integerEnd;
  for (int i = integerEnd; i < n && isZero; ++i) isZero = digits[i] == '0';
  int length = 0;
  if (value < 0 && !isZero) out[length++] = '-';
  for (int i = integerEnd - first; i < p.minIntegerDigits && length < kMaxText / 2; ++i) out[length++] = '0';
  for (int i = first; i < integerEnd; ++i) out[length++] = digits[i];
  if (decimals > 0) {
    out[length++] = separator;
    for (int i = integerEnd; i < n; ++i) out[length++] = digits[i];
  }
  return length;
}

}  // namespace

QString formatFloat(double value, QStringView picture, QChar separator) {
  char text[kMaxOut];
  const bool latin = separator.unicode() < 0x80;
  const int length = formatInto(value, parsePicture(picture), latin ? char(separator.unicode()) : '.', text);
  QString out = QString::fromLatin1(text, length);
  if (!latin) out.replace(u'.', separator);
  return out;
}

void appendFloat(QByteArray& out, double value, QStringView picture, char separator) {
  char text[kMaxOut];
  out.append(text, formatInto(value, parsePicture(picture), separator, text));
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
