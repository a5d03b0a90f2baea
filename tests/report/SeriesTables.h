#pragma once
// Series tables for the report tests, written as the series table shows them: two heading rows,
// then one row per series with labels "101/7", "102/7", ...
#include "views/TextGrid.h"

namespace grx::test {

inline QString seriesLabel(int record) { return QString::number(101 + record) + QStringLiteral("/7"); }

inline TextGrid seriesTableOf(int series) {
  TextGrid t(2 + std::max(series, 1), 10);
  t.cell(0, 0) = QStringLiteral("№");
  for (int k = 0; k < series; ++k) {
    const int r = k + 2;
    t.cell(r, 0) = seriesLabel(k);
    t.cell(r, 1) = QStringLiteral("05.12.2026");
    t.cell(r, 2) = QStringLiteral("08:%1:00").arg(k % 60, 2, 10, QLatin1Char('0'));
    t.cell(r, 3) = QStringLiteral("36,3");
    t.cell(r, 4) = QStringLiteral("65,5");
    t.cell(r, 5) = QStringLiteral("5,760");
    t.cell(r, 6) = QStringLiteral("Глина");
    t.cell(r, 7) = QStringLiteral("Объект 1");
    t.cell(r, 8) = QStringLiteral("55°47'59,4\" N");
    t.cell(r, 9) = QStringLiteral("37°37'34,5\" E");
  }
  return t;
}

}  // namespace grx::test
