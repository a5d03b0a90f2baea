#include "data/MeasurementSet.h"

#include "support/RecordBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace grx {
namespace {

using test::fillSet;
using test::RecordBuilder;
using test::recordsWithSeries;

struct Entry {
  std::uint16_t word;
  std::uint8_t flag;
};

std::vector<std::uint8_t> directoryOf(std::initializer_list<Entry> entries) {
  std::vector<std::uint8_t> dir(kDirectorySize, 0);
  int i = 0;
  for (const Entry& e : entries) {
    writeU16(dir.data() + 4 * i, e.word);
    dir[4 * i + 2] = e.flag;
    ++i;
  }
  return dir;
}

TEST(CountImpacts, StopsAtTheFirstEntryNotInUse) {
  struct Case {
    std::initializer_list<Entry> entries;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {{{600, 0}, {600, 0}, {100, 0}}, 2},
      {{{600, 0x80}, {600, 0}}, 0},
      {{{512, 0x7F}, {511, 0}}, 1},
      {{{65535, 0}, {600, 0x81}}, 1},
      {{}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(countImpacts(directoryOf(c.entries).data()), c.expected);
}

TEST(CountImpacts, OnlyEntriesInsideTheAvailableBytesCount) {
  const auto dir = directoryOf({{600, 0}, {600, 0}, {600, 0}});
  EXPECT_EQ(countImpacts(dir.data(), 8), 2u);
  EXPECT_EQ(countImpacts(dir.data(), 11), 2u);
  EXPECT_EQ(countImpacts(dir.data(), 0), 0u);
}

TEST(CountImpacts, AFullDirectoryGivesAtMost3556) {
  std::vector<std::uint8_t> dir(kDirectorySize);
  for (int i = 0; i < kMaxRecords; ++i) writeU16(dir.data() + 4 * i, 1000), dir[4 * i + 2] = 0;
  EXPECT_EQ(countImpacts(dir.data()), 3556u);
}

class MeasurementSetTest : public ::testing::Test {
 protected:
  std::unique_ptr<MeasurementSet> set_ = std::make_unique<MeasurementSet>();
};

TEST_F(MeasurementSetTest, SeriesStartListFromSeriesNumbers) {
  struct Case {
    std::vector<RecordBuilder> records;
    std::vector<std::uint32_t> starts;
  };
  const Case cases[] = {
      {recordsWithSeries({5, 5, 7, 5}), {0, 2, 3, 4}},
      {recordsWithSeries({9}), {0, 1}},
      {recordsWithSeries({1, 1, 1}), {0, 3}},
      {recordsWithSeries({1, 2, 1, 2}), {0, 1, 2, 3, 4}},
      {{}, {}},
  };
  for (const Case& c : cases) {
    fillSet(*set_, c.records);
    EXPECT_EQ(set_->seriesStarts(), c.starts);
    EXPECT_EQ(set_->seriesCount(), c.starts.empty() ? 0u : c.starts.size() - 1);
  }
}

TEST_F(MeasurementSetTest, ImpactNumberPlaysNoPartInSeries) {
  fillSet(*set_, {RecordBuilder().series(3, 1), RecordBuilder().series(3, 1), RecordBuilder().series(3, 9)});
  EXPECT_EQ(set_->seriesCount(), 1u);
}

TEST_F(MeasurementSetTest, SeriesRunAroundAnImpact) {
  fillSet(*set_, recordsWithSeries({5, 5, 7, 5, 5, 5}));
  struct Case {
    std::uint32_t i, first, length;
  };
  for (const Case& c : {Case{0, 0, 2}, Case{1, 0, 2}, Case{2, 2, 1}, Case{3, 3, 3}, Case{5, 3, 3}}) {
    const SeriesRun run = set_->seriesRun(c.i);
    EXPECT_EQ(run.first, c.first) << c.i;
    EXPECT_EQ(run.length, c.length) << c.i;
  }
}

TEST_F(MeasurementSetTest, SeriesSummaryMeansAndRatio) {
  fillSet(*set_, {RecordBuilder().series(12).moduli(10, 100).displacement(0.4f).peaks(-1, 1, -0.1f, 0),
                  RecordBuilder().series(12).moduli(20, 200).displacement(0.6f).peaks(-1, 1, -0.1f, 0),
                  RecordBuilder().series(12).moduli(30, 300).displacement(0.5f).peaks(-1, 1, -0.1f, 0),
                  RecordBuilder().series(13).moduli(5, 6).displacement(0.5f).peaks(-1, 1, 0.0f, 0)});
  const SeriesSummary s = set_->seriesSummary(0);
  EXPECT_EQ(s.seriesNumber, 12u);
  EXPECT_EQ(s.runLength, 3u);
  EXPECT_NEAR(s.meanDynamicModulus, 20.0, 1e-5);
  EXPECT_NEAR(s.meanStaticModulus, 200.0, 1e-4);
  EXPECT_NEAR(s.svRatio, 1.5 / 0.3, 1e-5);
  // velocity minima summing to zero give a ratio of 0, not a division failure
  EXPECT_EQ(set_->seriesSummary(1).svRatio, 0.0);
}

TEST_F(MeasurementSetTest, SeriesSumsAreSinglePrecision) {
  // 2^24 + 1 + 1 is 2^24 in single precision: the mean is 2^24 / 3, not (2^24 + 2) / 3.
  fillSet(*set_, {RecordBuilder().series(1).moduli(16777216.0f, 0), RecordBuilder().series(1).moduli(1, 0),
                  RecordBuilder().series(1).moduli(1, 0)});
  EXPECT_DOUBLE_EQ(set_->seriesSummary(0).meanDynamicModulus, 16777216.0 / 3.0);
}

TEST_F(MeasurementSetTest, ImpactRatioFailsOnAZeroVelocityMinimum) {
  fillSet(*set_, {RecordBuilder().displacement(0.5f).peaks(-1, 1, -0.25f, 0), RecordBuilder().peaks(-1, 1, 0.0f, 0)});
  EXPECT_DOUBLE_EQ(set_->impactSvRatio(0), 2.0);
  EXPECT_FALSE(std::isfinite(set_->impactSvRatio(1)));
}

TEST_F(MeasurementSetTest, SelectImpactCopiesOnlyRecordsInUse) {
  fillSet(*set_, recordsWithSeries({4, 8}));
  ASSERT_TRUE(set_->selectImpact(1));
  EXPECT_EQ(set_->currentView().seriesNumber(), 8u);
  EXPECT_EQ(std::memcmp(set_->currentRecord(), set_->record(1), kRecordSize), 0);
  EXPECT_FALSE(set_->selectImpact(2));  // at n: unchanged, no error
  EXPECT_EQ(set_->currentView().seriesNumber(), 8u);
  set_->setCount(1);  // as after a deletion
  EXPECT_FALSE(set_->selectImpact(1));
  EXPECT_EQ(set_->currentView().seriesNumber(), 8u);
}

TEST_F(MeasurementSetTest, EmptySetAtStart) {
  EXPECT_TRUE(set_->isEmpty());
  EXPECT_EQ(set_->seriesCount(), 0u);
  EXPECT_EQ(set_->currentIndex(), 0u);
  const std::uint8_t* cur = set_->currentRecord();
  EXPECT_TRUE(std::all_of(cur, cur + kRecordSize, [](std::uint8_t b) { return b == 0; }));
}

TEST_F(MeasurementSetTest, SwapExchangesEverything) {
  auto other = std::make_unique<MeasurementSet>();
  fillSet(*set_, recordsWithSeries({1, 1, 2}));
  fillSet(*other, recordsWithSeries({7}));
  set_->swap(*other);
  EXPECT_EQ(set_->count(), 1u);
  EXPECT_EQ(set_->view(0).seriesNumber(), 7u);
  EXPECT_EQ(other->count(), 3u);
  EXPECT_EQ(other->seriesCount(), 2u);
}

}  // namespace
}  // namespace grx
