#pragma once
// The locale the widgets format and read numbers in: "," as the decimal separator and no group
// separator, as every text of the program writes numbers, whatever the desktop's own locale.
#include <QLocale>

namespace grx {

inline QLocale decimalCommaLocale() {
  QLocale locale(QLocale::Russian, QLocale::Russia);
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  return locale;
}

}  // namespace grx
