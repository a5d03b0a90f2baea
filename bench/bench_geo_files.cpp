// The GIS files of the largest set a tester read can give with one impact per series: 3556 series,
// each with its own position. GeoJSON from the measurement set (positions and the series values
// gathered, the text built; aim: under 20 ms), and each format's text from gathered positions.
#include "data/SampleMeasurements.h"
#include "geo/GeoWriters.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kSeries = 3556;

const grx::MeasurementSet& largestSet() {
  static const std::unique_ptr<grx::MeasurementSet> set = [] {
    auto s = std::make_unique<grx::MeasurementSet>();
    grx::generateSampleMeasurements(*s, kSeries, 1);
    for (std::uint32_t k = 0; k < kSeries; ++k) grx::writeU32(s->record(k) + grx::rec::NumberWord, ((k + 1) << 4) | 1);
    s->buildSeries();
    return s;
  }();
  return *set;
}

void geoJsonOfTheSet(benchmark::State& state) {
  for (auto _ : state) {
    const grx::GeoPoints points = grx::seriesPositions(largestSet());
    benchmark::DoNotOptimize(grx::geoJson(points.points));
  }
  state.counters["series"] = double(largestSet().seriesCount());
}
BENCHMARK(geoJsonOfTheSet)->Unit(benchmark::kMillisecond);

void formatText(benchmark::State& state) {
  const grx::GeoPoints points = grx::seriesPositions(largestSet());
  const auto format = grx::GeoFormat(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(grx::geoFile(format, points.points, grx::Language::Russian));
}
BENCHMARK(formatText)->DenseRange(0, 3)->ArgName("geojson|kml|gpx|csv")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
