#include "views/ColumnWidths.h"

#include <gtest/gtest.h>

#include <numeric>

namespace grx {
namespace {

int sum(const QVector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); }

TEST(ColumnWidths, SeriesColumnsShareTheTableByWeight) {
  const QVector<int> widths = seriesColumnWidths(710, false);  // 700 to share: 50 per unit
  // the edge after column 3 lies at 192.5 and rounds up, so column 3 gets the extra pixel
  EXPECT_EQ(widths, (QVector<int>{40, 55, 60, 38, 37, 40, 100, 100, 115, 115}));
  EXPECT_EQ(sum(widths), 700);
}

TEST(ColumnWidths, AScrollBarNarrowsAllColumnsBy16InTotal) {
  for (int width : {300, 517, 710, 1234}) {
    EXPECT_EQ(sum(seriesColumnWidths(width, false)) - sum(seriesColumnWidths(width, true)), 16) << width;
  }
}

TEST(ColumnWidths, ScrollBarRule) {
  EXPECT_FALSE(seriesTableNeedsScrollBar(5, 100));  // 95 < 98
  EXPECT_TRUE(seriesTableNeedsScrollBar(5, 97));    // 95 >= 95
}

TEST(ColumnWidths, ImpactColumnsShareWhatTheLabelsLeave) {
  const QVector<int> widths = impactsColumnWidths(454, 4, 4);  // (454-150-4)/3 - 1 = 99
  EXPECT_EQ(widths, (QVector<int>{150, 99, 99, 99}));
  const QVector<int> uneven = impactsColumnWidths(400, 4, 4);  // 81,0 each: edges at 231, 312, 393
  EXPECT_EQ(uneven, (QVector<int>{150, 81, 81, 81}));
  const QVector<int> thirds = impactsColumnWidths(405, 4, 4);  // 82,67 each
  EXPECT_EQ(thirds, (QVector<int>{150, 82, 83, 83}));
  EXPECT_EQ(impactsColumnWidths(400, 4, 1), QVector<int>{150});
}

}  // namespace
}  // namespace grx
