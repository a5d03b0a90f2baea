#include "TextCells.h"

namespace grx {
namespace {

// An optional sign, digits and at most one decimal separator ("," or "."), with a digit somewhere.
bool isPlainNumber(const QString& text) {
  bool digit = false;
  bool separator = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c >= u'0' && c <= u'9') {
      digit = true;
    } else if ((c == u'+' || c == u'-') && i == 0) {
    } else if ((c == u',' || c == u'.') && !separator) {
      separator = true;
    } else {
      return false;
    }
  }
  return digit;
}

}  // namespace

QString singleLineText(const QString& text) {
  QString out = text;
  for (QChar& c : out)
    if (c == u'\r' || c == u'\n') c = u' ';
  return out;
}

QString spreadsheetSafeCell(const QString& text) {
  if (text.isEmpty()) return text;
  const QChar first = text.front();
  if (first != u'=' && first != u'+' && first != u'-' && first != u'@') return text;
  if (isPlainNumber(text)) return text;
  return u'\'' + text;
}

}  // namespace grx
