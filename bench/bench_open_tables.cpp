// Opening the largest project file a tester read can give (3556 impacts) and computing the texts of
// both tables for every series, as the window does after an open and while the user clicks
// through the series.
#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"
#include "views/TableText.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct FullFile {
  FullFile() {
    auto set = std::make_unique<grx::MeasurementSet>();
    grx::generateSampleMeasurements(*set, grx::kMaxReadImpacts, 1);
    path = dir.filePath(QStringLiteral("full.grx"));
    if (grx::writeProjectFile(*set, path) != grx::ProjectWriteResult::Ok) std::abort();
  }
  QTemporaryDir dir;
  QString path;
};

const FullFile& fullFile() {
  static FullFile file;
  return file;
}

void BM_OpenFile(benchmark::State& state) {
  auto shown = std::make_unique<grx::MeasurementSet>();
  auto staging = std::make_unique<grx::MeasurementSet>();
  for (auto _ : state) {
    if (grx::openProjectFile(fullFile().path, *shown, *staging) != grx::ProjectReadResult::Ok) state.SkipWithError("open");
    benchmark::DoNotOptimize(shown->count());
  }
}
BENCHMARK(BM_OpenFile)->Unit(benchmark::kMillisecond);

void BM_OpenFileAndAllTableTexts(benchmark::State& state) {
  auto shown = std::make_unique<grx::MeasurementSet>();
  auto staging = std::make_unique<grx::MeasurementSet>();
  for (auto _ : state) {
    if (grx::openProjectFile(fullFile().path, *shown, *staging) != grx::ProjectReadResult::Ok) state.SkipWithError("open");
    const grx::TextGrid series = grx::seriesTableText(*shown, grx::Language::Russian);
    benchmark::DoNotOptimize(series.rowCount());
    for (std::uint32_t k = 0; k < shown->seriesCount(); ++k) {
      const grx::TextGrid impacts = grx::impactsTableText(*shown, k, grx::Language::Russian);
      benchmark::DoNotOptimize(impacts.columnCount());
    }
  }
}
BENCHMARK(BM_OpenFileAndAllTableTexts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
