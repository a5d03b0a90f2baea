#include "data/SampleMeasurements.h"

#include "data/DerivedSignals.h"
#include "data/TextForms.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace grx {
namespace {

TEST(SampleMeasurements, SameSeedSameBytesOtherSeedOtherBytes) {
  auto a = std::make_unique<MeasurementSet>();
  auto b = std::make_unique<MeasurementSet>();
  generateSampleMeasurements(*a, 60, 11);
  generateSampleMeasurements(*b, 60, 11);
  EXPECT_EQ(std::memcmp(a->recordStore(), b->recordStore(), 60 * kRecordSize), 0);
  EXPECT_EQ(std::memcmp(a->directory(), b->directory(), kDirectorySize), 0);
  generateSampleMeasurements(*b, 60, 12);
  EXPECT_NE(std::memcmp(a->recordStore(), b->recordStore(), 60 * kRecordSize), 0);
}

TEST(SampleMeasurements, DirectoryCountsEveryImpact) {
  auto set = std::make_unique<MeasurementSet>();
  for (int n : {0, 1, 47, kMaxReadImpacts}) {
    generateSampleMeasurements(*set, n, 1);
    EXPECT_EQ(set->count(), std::uint32_t(n));
    EXPECT_EQ(countImpacts(set->directory()), std::uint32_t(n));
  }
}

TEST(SampleMeasurements, LookLikeATestersMeasurements) {
  auto set = std::make_unique<MeasurementSet>();
  generateSampleMeasurements(*set, 400, 4);
  ASSERT_GT(set->seriesCount(), 40u);
  for (std::uint32_t k = 0; k + 1 < set->seriesCount(); ++k) {
    EXPECT_GE(set->seriesLength(k), 3u);
    EXPECT_LE(set->seriesLength(k), 8u);
    EXPECT_EQ(set->seriesRun(set->seriesStart(k)).length, set->seriesLength(k));
  }
  const QStringList soils = {"Песок", "Супесь", "Суглинок", "Глина", "Грунт - 1", "Грунт - 2"};
  for (std::uint32_t i = 0; i < set->count(); ++i) {
    const ImpactRecordView r = set->view(i);
    EXPECT_TRUE(soils.contains(nameText(r.soilNameField()))) << i;
    EXPECT_FALSE(nameText(r.objectNameField()).isEmpty()) << i;
    EXPECT_GT(r.dynamicModulus(), 15.0f);
    EXPECT_LT(r.dynamicModulus(), 120.0f);
    EXPECT_GT(r.staticModulus(), r.dynamicModulus());
    const double sv = set->impactSvRatio(i);
    EXPECT_GT(sv, 4.5) << i;
    EXPECT_LT(sv, 7.0) << i;
    EXPECT_NEAR(r.impactForce(), 7070, 120);
    // the stored peaks are the ones the program's own integration finds
    const auto s = exportSignals(r);
    EXPECT_FLOAT_EQ(r.velocityMin(), float(*std::min_element(s.velocity.begin(), s.velocity.end())));
    EXPECT_FLOAT_EQ(r.displacement(), float(-*std::min_element(s.displacement.begin(), s.displacement.end())));
    int peakCode = 0;
    for (int j = 0; j < kSamplesPerSignal; ++j) peakCode = std::max(peakCode, std::abs(int(r.accelCode(j))));
    EXPECT_EQ(peakCode, 32767) << i;
  }
}

}  // namespace
}  // namespace grx
