// The compaction control of the largest set a tester read can give: 3556 impacts in 700 series of 5
// or 6 impacts, spread over 50 lots (10 objects times 5 materials, series k in lot k mod 50). The
// evaluation alone (aim: under 5 ms), and the acceptance protocol laid out and written as PDF (aim:
// under 2 s). Runs on the offscreen platform.
#include "control/ControlEvaluation.h"
#include "data/SampleMeasurements.h"
#include "data/TextForms.h"
#include "report/AcceptanceProtocol.h"
#include "report/ReportPainter.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kImpacts = 3556;
constexpr int kSeries = 700;
constexpr int kLots = 50;

const grx::MeasurementSet& largestSet() {
  static const std::unique_ptr<grx::MeasurementSet> set = [] {
    auto s = std::make_unique<grx::MeasurementSet>();
    grx::generateSampleMeasurements(*s, kImpacts, 1);
    // The generated impacts regrouped: the first 56 series of 6 impacts, the rest of 5.
    std::uint32_t i = 0;
    for (std::uint32_t k = 0; k < kSeries; ++k) {
      const std::uint32_t length = k < kImpacts - 5 * kSeries ? 6 : 5;
      const int lot = int(k) % kLots;
      for (std::uint32_t j = 1; j <= length; ++j, ++i) {
        std::uint8_t* r = s->record(i);
        grx::writeU32(r + grx::rec::NumberWord, ((k + 1) << 4) | j);
        grx::writeNameField(r + grx::rec::ObjectName, QStringLiteral("Объект %1").arg(lot % 10 + 1));
        grx::writeNameField(r + grx::rec::SoilName, QStringLiteral("Материал %1").arg(lot / 10 + 1));
      }
    }
    s->buildSeries();
    return s;
  }();
  return *set;
}

grx::ControlSetup setup() {
  grx::ControlSetup s;
  grx::Requirement every;
  every.minDynamic = 30;
  grx::Requirement sand;
  sand.material = QStringLiteral("Материал 2");
  sand.minDynamic = 45;
  sand.maxSv = 6;
  s.requirements = {every, sand};
  s.settings.lotRule = grx::LotRule::Statistical;
  s.settings.seatingImpacts = 1;
  return s;
}

grx::DocumentIdentity identity() {
  return {{grx::MeasurementSource::Kind::File, QStringLiteral("largest.grx"), {}}, QDate(2026, 6, 2),
          QStringLiteral("GRX1-control.json"), false};
}

void BM_EvaluateControl3556(benchmark::State& state) {
  const grx::MeasurementSet& set = largestSet();
  const grx::ControlSetup s = setup();
  for (auto _ : state) {
    const grx::ControlResult r = grx::evaluateControl(set, s);
    benchmark::DoNotOptimize(r.lots.size());
    state.counters["points"] = double(r.points.size());
    state.counters["lots"] = double(r.lots.size());
  }
}
BENCHMARK(BM_EvaluateControl3556)->Unit(benchmark::kMillisecond);

void BM_AcceptanceProtocolLayout3556(benchmark::State& state) {
  const grx::MeasurementSet& set = largestSet();
  const grx::ControlSetup s = setup();
  const grx::ControlResult result = grx::evaluateControl(set, s);
  for (auto _ : state) {
    const grx::PreparedReport r = grx::prepareAcceptanceProtocol(set, s, result, identity(), grx::Language::Russian);
    state.counters["pages"] = double(r.pages.size());
  }
}
BENCHMARK(BM_AcceptanceProtocolLayout3556)->Unit(benchmark::kMillisecond);

// From the set to the PDF file: the evaluation, the layout and the writing.
void BM_AcceptanceProtocolPdf3556(benchmark::State& state) {
  const grx::MeasurementSet& set = largestSet();
  const grx::ControlSetup s = setup();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("protocol.pdf"));
  for (auto _ : state) {
    const grx::ControlResult result = grx::evaluateControl(set, s);
    const grx::PreparedReport r = grx::prepareAcceptanceProtocol(set, s, result, identity(), grx::Language::Russian);
    if (!grx::writeReportPdf(r, path)) state.SkipWithError("PDF not written");
  }
  state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(BM_AcceptanceProtocolPdf3556)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
