#include "report/ReportVariables.h"

#include <gtest/gtest.h>

namespace grx {
namespace {

// A series table with its two heading rows and two series.
TextGrid twoSeries() {
  TextGrid t(4, 10);
  const char* rows[2][10] = {
      {"3/5", "05.12.2026", "08:40:00", "36,3", "65,5", "5,760", "Глина", "Объект 1", "55°47'59,4\" N", "37°37'34,5\" E"},
      {"4/2", "06.12.2026", "09:01:02", "40,1", "70,2", "5,100", "Песок", "Насыпь", "-", "-"},
  };
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 10; ++c) t.cell(r + 2, c) = QString::fromUtf8(rows[r][c]);
  t.cell(0, 0) = QStringLiteral("№");
  return t;
}

struct Case {
  const char* name;
  int record;
  const char* russian;
  const char* english;
};

TEST(ReportVariables, EveryNameInBothLanguages) {
  const TextGrid table = twoSeries();
  const Case cases[] = {
      {"Заголовок", -1, "Измеренные значения модуля упругости", "Measured elastic modulus values"},
      {"Дата0", -1, "Дата", "Date"},
      {"Время0", -1, "Время", "Time"},
      {"ДинМодуль0", -1, "Дин. модуль, МПа", "Din. modulus, MPa"},
      {"СтатМодуль0", -1, "Стат. модуль, МПа", "Static modulus, MPa"},
      {"SW0", -1, "s/v, мс", "s/v, ms"},
      {"Материал0", -1, "Грунт", "Soil"},
      {"Объект0", -1, "Объект", "Object"},
      {"Координаты0", -1, "GLONASS/GPS координаты", "GLONASS/GPS coordinates"},
      // Data values are the table's cells of row record + 2, the same in both languages.
      {"№№", 0, "3/5", "3/5"},
      {"Дата", 1, "06.12.2026", "06.12.2026"},
      {"Время", 0, "08:40:00", "08:40:00"},
      {"ДинМодуль", 1, "40,1", "40,1"},
      {"СтатМодуль", 0, "65,5", "65,5"},
      {"SW", 1, "5,100", "5,100"},
      {"Материал", 0, "Глина", "Глина"},
      {"Объект", 1, "Насыпь", "Насыпь"},
      {"Координаты", 0, "55°47'59,4\" N\n37°37'34,5\" E", "55°47'59,4\" N\n37°37'34,5\" E"},
      {"Координаты", 1, "-\n-", "-\n-"},
      // Exact names only: case, blanks and near misses give nothing.
      {"sw", 0, "", ""},
      {"Дата ", 0, "", ""},
      {"Дата1", 0, "", ""},
      {"заголовок", -1, "", ""},
      {"PAGE#", 0, "", ""},
      {"", 0, "", ""},
  };
  for (const Case& c : cases) {
    const QString name = QString::fromUtf8(c.name);
    EXPECT_EQ(seriesReportVariable(name, table, c.record, Language::Russian), QString::fromUtf8(c.russian)) << c.name;
    EXPECT_EQ(seriesReportVariable(name, table, c.record, Language::English), QString::fromUtf8(c.english)) << c.name;
  }
}

TEST(ReportVariables, RecordsOutsideTheTableGiveEmptyCells) {
  const TextGrid table = twoSeries();
  EXPECT_EQ(seriesReportVariable(QStringLiteral("№№"), table, 2, Language::English), QString());
  EXPECT_EQ(seriesReportVariable(QStringLiteral("Координаты"), table, 5, Language::English), QStringLiteral("\n"));
}

TEST(ReportVariables, RecordCountAndEmptyTable) {
  EXPECT_EQ(seriesReportRecordCount(twoSeries()), 2);
  EXPECT_FALSE(seriesReportIsEmpty(twoSeries()));
  TextGrid empty(3, 10);  // the series table of an empty set: one blank data row
  EXPECT_EQ(seriesReportRecordCount(empty), 1);
  EXPECT_TRUE(seriesReportIsEmpty(empty));
  EXPECT_TRUE(seriesReportIsEmpty(TextGrid(2, 10)));
  EXPECT_TRUE(seriesReportIsEmpty(TextGrid()));
}

}  // namespace
}  // namespace grx
