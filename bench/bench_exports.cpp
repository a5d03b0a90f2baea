// The exports of one impact: the all-signals CSV text and the four WAV files, as the window and
// grx1-cli produce them, for impacts of generated sample measurements (realistic signal shapes).
#include "data/SampleMeasurements.h"
#include "export/CsvExport.h"
#include "export/WavExport.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const grx::MeasurementSet& sampleSet() {
  static const std::unique_ptr<grx::MeasurementSet> set = [] {
    auto s = std::make_unique<grx::MeasurementSet>();
    grx::generateSampleMeasurements(*s, 64, 5);
    return s;
  }();
  return *set;
}

constexpr grx::ExportSignal kSignals[] = {grx::ExportSignal::Acceleration, grx::ExportSignal::Velocity,
                                          grx::ExportSignal::Displacement, grx::ExportSignal::Force};

// One iteration is one impact: the full view's all-signals CSV text and its four WAV files.
void BM_ExportsOfOneImpact(benchmark::State& state) {
  const grx::MeasurementSet& set = sampleSet();
  std::uint32_t i = 0;
  for (auto _ : state) {
    const grx::ImpactRecordView record = set.view(i);
    benchmark::DoNotOptimize(grx::allSignalsCsv(record, false).size());
    for (grx::ExportSignal s : kSignals) benchmark::DoNotOptimize(grx::signalWav(record, s).size());
    i = (i + 1) % set.count();
  }
}
BENCHMARK(BM_ExportsOfOneImpact)->Unit(benchmark::kMicrosecond);

void BM_AllSignalsCsv(benchmark::State& state) {
  const grx::MeasurementSet& set = sampleSet();
  std::uint32_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(grx::allSignalsCsv(set.view(i), false).size());
    i = (i + 1) % set.count();
  }
}
BENCHMARK(BM_AllSignalsCsv)->Unit(benchmark::kMicrosecond);

void BM_FourWavFiles(benchmark::State& state) {
  const grx::MeasurementSet& set = sampleSet();
  std::uint32_t i = 0;
  for (auto _ : state) {
    for (grx::ExportSignal s : kSignals) benchmark::DoNotOptimize(grx::signalWav(set.view(i), s).size());
    i = (i + 1) % set.count();
  }
}
BENCHMARK(BM_FourWavFiles)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
