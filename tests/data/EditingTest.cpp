#include "data/MeasurementSet.h"

#include "support/RecordBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace grx {
namespace {

using test::fillSet;
using test::RecordBuilder;

// Series numbers and impact numbers of the records, as "series.impact" texts, in order.
std::vector<std::string> records(const MeasurementSet& set) {
  std::vector<std::string> out;
  for (std::uint32_t i = 0; i < set.count(); ++i)
    out.push_back(std::to_string(set.view(i).seriesNumber()) + "." + std::to_string(set.view(i).impactNumber()));
  return out;
}

// Series s with impacts 1..n.
void addSeries(std::vector<RecordBuilder>& r, std::uint32_t s, int n) {
  for (int j = 1; j <= n; ++j) r.push_back(RecordBuilder().series(s, std::uint32_t(j)).moduli(float(10 * j), float(20 * j)));
}

class Editing : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<RecordBuilder> r;
    addSeries(r, 11, 2);
    addSeries(r, 12, 5);
    addSeries(r, 13, 1);
    addSeries(r, 14, 3);
    addSeries(r, 15, 2);
    fillSet(*set_, r);
    std::memcpy(directoryBefore_, set_->directory(), sizeof directoryBefore_);
  }
  std::unique_ptr<MeasurementSet> set_ = std::make_unique<MeasurementSet>();
  std::uint8_t directoryBefore_[kDirectorySize];
};

TEST_F(Editing, RemovingTwoImpactsOfASeriesKeepsTheOthersAndTheNeighbours) {
  set_->removeImpacts(1, 1, 2);  // columns 2 and 3 of series 12
  EXPECT_EQ(records(*set_), (std::vector<std::string>{"11.1", "11.2", "12.1", "12.4", "12.5", "13.1", "14.1", "14.2",
                                                      "14.3", "15.1", "15.2"}));
  EXPECT_EQ(set_->seriesStarts(), (std::vector<std::uint32_t>{0, 2, 5, 6, 9, 11}));
  const SeriesSummary s = set_->seriesSummary(1);
  EXPECT_EQ(s.runLength, 3u);
  EXPECT_NEAR(s.meanDynamicModulus, (10 + 40 + 50) / 3.0, 1e-5);
  EXPECT_EQ(std::memcmp(set_->directory(), directoryBefore_, kDirectorySize), 0);
}

TEST_F(Editing, RemovingSeriesRangesLeavesTheRestInOrder) {
  struct Case {
    std::uint32_t first, last;
    std::vector<std::uint32_t> starts;
    std::size_t count;
  };
  for (const Case& c : {Case{1, 3, {0, 2, 4}, 4}, Case{0, 0, {0, 5, 6, 9, 11}, 11}, Case{4, 4, {0, 2, 7, 8, 11}, 11},
                        Case{0, 4, {}, 0}, Case{3, 9, {0, 2, 7, 8}, 8}}) {
    SetUp();
    set_->removeSeries(c.first, c.last);
    EXPECT_EQ(set_->seriesStarts(), c.starts) << c.first << ".." << c.last;
    EXPECT_EQ(set_->count(), c.count);
  }
  SetUp();
  set_->removeSeries(1, 3);
  EXPECT_EQ(records(*set_), (std::vector<std::string>{"11.1", "11.2", "15.1", "15.2"}));
}

TEST_F(Editing, NeighboursWithTheSameNumberBecomeOneSeriesAsAfterReopening) {
  std::vector<RecordBuilder> r;
  addSeries(r, 5, 2);
  addSeries(r, 7, 1);
  addSeries(r, 5, 3);
  addSeries(r, 8, 2);
  fillSet(*set_, r);
  set_->removeSeries(1, 1);
  EXPECT_EQ(set_->seriesStarts(), (std::vector<std::uint32_t>{0, 5, 7}));
  EXPECT_EQ(set_->seriesRun(0).length, set_->seriesLength(0));
  // deleting the third impact of the merged series removes the one the impacts table shows there
  set_->removeImpacts(0, 2, 1);
  EXPECT_EQ(records(*set_), (std::vector<std::string>{"5.1", "5.2", "5.2", "5.3", "8.1", "8.2"}));
}

TEST_F(Editing, OutOfRangeRequestsChangeNothing) {
  set_->removeImpacts(9, 0, 1);
  set_->removeImpacts(2, 1, 1);  // series 13 has one impact
  set_->removeSeries(5, 6);
  set_->removeSeries(3, 2);
  EXPECT_EQ(set_->count(), 13u);
  EXPECT_EQ(set_->seriesCount(), 5u);
}

TEST_F(Editing, SelectingBeyondTheCountAfterARemovalChangesNothing) {
  ASSERT_TRUE(set_->selectImpact(12));
  set_->removeSeries(4, 4);
  EXPECT_FALSE(set_->selectImpact(12));
  EXPECT_EQ(set_->currentView().seriesNumber(), 15u);
}

}  // namespace
}  // namespace grx
