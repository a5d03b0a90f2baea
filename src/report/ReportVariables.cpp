#include "ReportVariables.h"

#include <algorithm>

namespace grx {
namespace {

// A header text in both languages, or a data value from a column of the series table.
struct Variable {
  const char* name;
  TextPair header;  // used when column < 0
  int column;
};

constexpr Variable kVariables[] = {
    {"Заголовок", {"Измеренные значения модуля упругости", "Measured elastic modulus values"}, -1},
    {"Дата0", {"Дата", "Date"}, -1},
    {"Время0", {"Время", "Time"}, -1},
    {"ДинМодуль0", {"Дин. модуль, МПа", "Din. modulus, MPa"}, -1},
    {"СтатМодуль0", {"Стат. модуль, МПа", "Static modulus, MPa"}, -1},
    {"SW0", {"s/v, мс", "s/v, ms"}, -1},
    {"Материал0", {"Грунт", "Soil"}, -1},
    {"Объект0", {"Объект", "Object"}, -1},
    {"Координаты0", {"GLONASS/GPS координаты", "GLONASS/GPS coordinates"}, -1},
    {"№№", {}, 0},
    {"Дата", {}, 1},
    {"Время", {}, 2},
    {"ДинМодуль", {}, 3},
    {"СтатМодуль", {}, 4},
    {"SW", {}, 5},
    {"Материал", {}, 6},
    {"Объект", {}, 7},
    {"Координаты", {}, 8},  // latitude, a line feed, longitude
};

QString cellOf(const TextGrid& table, int row, int column) {
  if (row < 0 || row >= table.rowCount() || column < 0 || column >= table.columnCount()) return {};
  return table.cell(row, column);
}

}  // namespace

QString seriesReportVariable(const QString& name, const TextGrid& seriesTable, int recordNumber, Language language) {
  for (const Variable& v : kVariables) {
    if (name != QString::fromUtf8(v.name)) continue;
    if (v.column < 0) return v.header.text(language);
    const int row = recordNumber + 2;
    if (v.column == 8) return cellOf(seriesTable, row, 8) + u'\n' + cellOf(seriesTable, row, 9);
    return cellOf(seriesTable, row, v.column);
  }
  return {};
}

int seriesReportRecordCount(const TextGrid& seriesTable) { return std::max(0, seriesTable.rowCount() - 2); }

bool seriesReportIsEmpty(const TextGrid& seriesTable) { return cellOf(seriesTable, 2, 0).isEmpty(); }

}  // namespace grx
