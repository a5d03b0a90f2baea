#include "views/TableText.h"

#include "support/RecordBuilder.h"

#include <gtest/gtest.h>

#include <memory>

namespace grx {
namespace {

using test::coordinate;
using test::fillSet;
using test::RecordBuilder;

QStringList row(const TextGrid& g, int r) {
  QStringList cells;
  for (int c = 0; c < g.columnCount(); ++c) cells << g.cell(r, c);
  return cells;
}

QStringList column(const TextGrid& g, int c) {
  QStringList cells;
  for (int r = 0; r < g.rowCount(); ++r) cells << g.cell(r, c);
  return cells;
}

class TableTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // series 12: five impacts; series 13: one impact with no names, no coordinates and zero velocity
    std::vector<RecordBuilder> records;
    for (int j = 0; j < 5; ++j) {
      records.push_back(RecordBuilder()
                            .series(12, j + 1)
                            .stamp(7, 3, 16, 14, 5 + j, 9)
                            .moduli(40.0f + j, 80.0f + 2 * j)
                            .peaks(-25.34f, 30.08f, -0.5f, 0.25f)
                            .displacement(0.6f)
                            .soil(QStringLiteral("Песок"))
                            .object(QStringLiteral("Несущий слой"))
                            .coordinates(coordinate(5509, 26214), coordinate(3737, 32768)));
    }
    records.push_back(RecordBuilder().series(13).stamp(8, 3, 16, 9, 0, 0).peaks(-1, 1, 0.0f, 0).displacement(0.5f));
    records.back().f32(rec::ImpactForce, 7070.5f);
    fillSet(*set_, records);
  }
  std::unique_ptr<MeasurementSet> set_ = std::make_unique<MeasurementSet>();
};

TEST_F(TableTextTest, SeriesTableInRussian) {
  const TextGrid g = seriesTableText(*set_, Language::Russian);
  ASSERT_EQ(g.rowCount(), 4);
  ASSERT_EQ(g.columnCount(), 10);
  EXPECT_EQ(row(g, 0), QStringList({"№", "Дата", "Время", "Дин.модуль", "Стат.модуль", "s/v", "Грунт", "Объект",
                                    "Широта", "Долгота"}));
  EXPECT_EQ(row(g, 1), QStringList({"", "д.м.г", "ч:м:с", "МПа", "МПа", "мс", "", "", "", ""}));
  EXPECT_EQ(row(g, 2), QStringList({"12/5", "07.03.2016", "14:05:09", "42,0", "84,0", "1,200", "Песок",
                                    "Несущий слой", "55°09'24,0\" СШ", "37°37'30,0\" ВД"}));
  // velocity minima summing to zero: ratio 0,000; empty names and missing coordinates
  EXPECT_EQ(row(g, 3), QStringList({"13/1", "08.03.2016", "09:00:00", "40,0", "80,0", "0,000", "", "", "-", "-"}));
}

TEST_F(TableTextTest, SeriesTableInEnglishPutsTheMonthFirst) {
  const TextGrid g = seriesTableText(*set_, Language::English);
  EXPECT_EQ(row(g, 0), QStringList({"№", "Date", "Time", "Din.modulus", "Stat.modulus", "s/v", "Soil", "Object",
                                    "Latitude", "Longtitude"}));
  EXPECT_EQ(row(g, 1), QStringList({"", "d:m:y", "h:m:s", "MPa", "MPa", "ms", "", "", "", ""}));
  EXPECT_EQ(g.cell(2, 1), "03.07.2016");
  EXPECT_EQ(g.cell(2, 8), "55°09'24,0\" N");
  EXPECT_EQ(g.cell(2, 9), "37°37'30,0\" E");
}

TEST_F(TableTextTest, ImpactsTableOfASeries) {
  const TextGrid g = impactsTableText(*set_, 0, Language::Russian);
  ASSERT_EQ(g.rowCount(), 8);
  ASSERT_EQ(g.columnCount(), 6);
  EXPECT_EQ(column(g, 0), QStringList({"07.03.2016, 14:05:09", "Дин.модуль, МПа", "Стат.модуль, МПа", "s/v, мс",
                                       "Виброускорение, м/с2", "Виброскорость, м/с", "Виброперемещение, мм",
                                       "Сила удара, Н"}));
  EXPECT_EQ(column(g, 1), QStringList({"1-й удар", "40,0", "80,0", "1,200", "-25,3+30,1", "-0,500+0,250", "0,600", "7000"}));
  EXPECT_EQ(column(g, 5), QStringList({"5-й удар", "44,0", "88,0", "1,200", "-25,3+30,1", "-0,500+0,250", "0,600", "7000"}));
}

TEST_F(TableTextTest, ImpactsTableInEnglishKeepsTheDayFirstInItsHeader) {
  const TextGrid g = impactsTableText(*set_, 0, Language::English);
  EXPECT_EQ(column(g, 0), QStringList({"07.03.2016, 14:05:09", "Din.modulus, MPa", "Stat.modulus, MPa", "s/v, ms",
                                       "Vibr.acceleration, m/c2", "Vibr.velocity, m/c", "Vibr.displacement, mm",
                                       "Impact force, N"}));
  EXPECT_EQ(row(g, 0).mid(1), QStringList({"1-st impact", "2-st impact", "3-st impact", "4-st impact", "5-st impact"}));
}

TEST_F(TableTextTest, OneImpactSeriesWithAZeroVelocityShowsNanOnlyInItsRatio) {
  const TextGrid g = impactsTableText(*set_, 1, Language::Russian);
  ASSERT_EQ(g.columnCount(), 2);
  EXPECT_EQ(column(g, 1), QStringList({"1-й удар", "40,0", "80,0", "NAN", "-1,0+1,0", "0,000+0,000", "0,500", "7071"}));
}

TEST(TableTextEmpty, EmptySetShowsHeadingsAndOneEmptyRow) {
  auto set = std::make_unique<MeasurementSet>();
  const TextGrid s = seriesTableText(*set, Language::English);
  ASSERT_EQ(s.rowCount(), 3);
  EXPECT_EQ(row(s, 2), QStringList(10, QString()));
  const TextGrid i = impactsTableText(*set, 0, Language::English);
  ASSERT_EQ(i.columnCount(), 2);
  EXPECT_EQ(column(i, 1), QStringList({"1-st impact", "", "", "", "", "", "", ""}));
  EXPECT_EQ(i.cell(3, 0), "s/v, ms");
}

TEST(TableTextHeadings, ImpactHeadingNumbersEveryColumn) {
  EXPECT_EQ(impactHeading(12, Language::Russian), "12-й удар");
  EXPECT_EQ(impactHeading(21, Language::English), "21-st impact");
}

}  // namespace
}  // namespace grx
