// The measurement archive on SQLite (a file in a temporary folder) and on PostgreSQL (the server
// of tools/pg.sh, GRX1_TEST_PG_URL; skipped without it):
//   adding a full read of 3556 impacts to an empty archive (aim with SQLite: under 0.5 s),
//   adding it again, all duplicates (aim: under 0.2 s),
//   a filtered list over 20 different full reads, 71,120 impacts (aim: under 100 ms),
//   opening a 3556-impact selection as the measurement set (aim: under 0.3 s).
#include "archive/Archive.h"
#include "archive/ArchiveImpact.h"
#include "archive/ArchiveSql.h"
#include "data/SampleMeasurements.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace grx;

QTemporaryDir& folder() {
  static QTemporaryDir dir;
  return dir;
}

// An archive of its own for each use; PostgreSQL shares the server's database and is emptied.
std::unique_ptr<Archive> emptyArchive(bool postgres, const char* name, benchmark::State& state) {
  const QString connection = postgres ? qEnvironmentVariable("GRX1_TEST_PG_URL")
                                      : folder().filePath(QString::fromLatin1(name) + QStringLiteral(".sqlite"));
  if (connection.isEmpty()) {
    state.SkipWithError("no PostgreSQL server: run through tools/pg.sh");
    return nullptr;
  }
  ArchiveError error;
  auto archive = Archive::open(connection, error);
  if (!archive) {
    state.SkipWithError(error.detail.toStdString().c_str());
    return nullptr;
  }
  QSqlDatabase db = QSqlDatabase::database(archive->connectionName());
  for (const char* table : {"grx1_impacts", "grx1_records", "grx1_imports"})
    runSql(db, QStringLiteral("DELETE FROM ") + QLatin1String(table));
  return archive;
}

const MeasurementSet& fullRead(std::uint32_t seed) {
  static std::map<std::uint32_t, std::unique_ptr<MeasurementSet>> sets;
  auto& set = sets[seed];
  if (!set) {
    set = std::make_unique<MeasurementSet>();
    generateSampleMeasurements(*set, kMaxReadImpacts, seed);
  }
  return *set;
}

void BM_AddFullReadToEmptyArchive(benchmark::State& state) {
  const bool postgres = state.range(0) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto archive = emptyArchive(postgres, "add", state);
    if (!archive) return;
    state.ResumeTiming();
    ImportOutcome outcome;
    archive->import(fullRead(1), {}, outcome);
    if (outcome.added != kMaxReadImpacts) state.SkipWithError("not every impact was added");
  }
}

void BM_AddTheSameReadAgain(benchmark::State& state) {
  auto archive = emptyArchive(state.range(0) != 0, "again", state);
  if (!archive) return;
  ImportOutcome outcome;
  archive->import(fullRead(1), {}, outcome);
  for (auto _ : state) {
    archive->import(fullRead(1), {}, outcome);
    if (outcome.added != 0) state.SkipWithError("a duplicate was added");
  }
}

// 20 different full reads in one archive, made once per engine.
Archive* twentyReads(bool postgres, benchmark::State& state) {
  static std::unique_ptr<Archive> archives[2];
  auto& archive = archives[postgres];
  if (!archive) {
    archive = emptyArchive(postgres, "twenty", state);
    if (!archive) return nullptr;
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
      ImportOutcome outcome;
      archive->import(fullRead(seed), {}, outcome);
    }
  }
  return archive.get();
}

void BM_FilteredListOf71120Impacts(benchmark::State& state) {
  Archive* archive = twentyReads(state.range(0) != 0, state);
  if (!archive) return;
  ArchiveFilter filter;
  filter.object = QStringLiteral("Несущий слой");
  filter.from = QDate(2026, 1, 1);
  std::vector<ArchiveSeries> series;
  for (auto _ : state) archive->listSeries(filter, series);
  state.counters["series"] = double(series.size());
}

void BM_OpenSelectionOf3556Impacts(benchmark::State& state) {
  Archive* archive = twentyReads(state.range(0) != 0, state);
  if (!archive) return;
  // The series of one read, as a user would select them in the table.
  const MeasurementSet& read = fullRead(7);
  QList<qint64> keys;
  for (std::uint32_t k = 0; k < read.seriesCount(); ++k) keys << seriesKeyOf(recordHash(read.record(read.seriesStart(k))));
  auto staging = std::make_unique<MeasurementSet>();
  for (auto _ : state) archive->load({}, keys, *staging);
  state.counters["impacts"] = double(staging->count());
}

BENCHMARK(BM_AddFullReadToEmptyArchive)->ArgName("postgres")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_AddTheSameReadAgain)->ArgName("postgres")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilteredListOf71120Impacts)->ArgName("postgres")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSelectionOf3556Impacts)->ArgName("postgres")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
