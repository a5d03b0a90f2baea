// The main window: start-up to the first shown window, and rebuilding both tables for the largest
// set a tester read gives (3556 impacts). Runs on the offscreen platform.
#include "ui/ModalUi.h"
#include "app/TForm1.h"
#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"
#include "views/StringGridView.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

class NoDialogs : public grx::ModalUi {
 public:
  int message(QWidget*, const Message& m) override { return m.defaultButton; }
  std::optional<QString> fileName(QWidget*, const FileDialog&) override { return std::nullopt; }
  std::optional<QColor> color(QWidget*, const QColor& c) override { return c; }
  bool chooseLanguage(const std::function<void(grx::Language)>&, bool*) override { return false; }
};

struct Folder {
  Folder() {
    QFile ini(dir.filePath(QStringLiteral("GRX1.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Config]\r\nLangId=Rus\r\n[FormMain]\r\nWidth=1000\r\nHeight=640\r\n");
  }
  QTemporaryDir dir;
  NoDialogs ui;
  grx::TForm1::Environment env() {
    grx::TForm1::Environment e;
    e.programFolder = dir.path();
    e.ui = &ui;
    e.exitProcess = [](int) {};
    return e;
  }
};

void BM_StartupToShownWindow(benchmark::State& state) {
  Folder folder;
  for (auto _ : state) {
    auto form = std::make_unique<grx::TForm1>(folder.env());
    form->FormCreate();
    form->show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(form->isVisible());
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartupToShownWindow)->Unit(benchmark::kMillisecond);

void BM_RebuildTables3556(benchmark::State& state) {
  Folder folder;
  grx::TForm1 form(folder.env());
  form.FormCreate();
  form.show();
  QCoreApplication::processEvents();
  grx::generateSampleMeasurements(form.measurements(), grx::kMaxReadImpacts, 1);
  for (auto _ : state) {
    form.RebuildTables();
    QCoreApplication::processEvents();  // includes painting the rebuilt tables
  }
}
BENCHMARK(BM_RebuildTables3556)->Unit(benchmark::kMillisecond);

// Opening a full project file through the open command's code path: read, tables rebuilt, the
// first impact drawn.
void BM_OpenProject3556(benchmark::State& state) {
  Folder folder;
  auto set = std::make_unique<grx::MeasurementSet>();
  grx::generateSampleMeasurements(*set, grx::kMaxReadImpacts, 1);
  const QString file = folder.dir.filePath(QStringLiteral("full.grx"));
  grx::writeProjectFile(*set, file);
  grx::TForm1 form(folder.env());
  form.FormCreate();
  form.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    form.OpenFromCommandLine({file});
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_OpenProject3556)->Unit(benchmark::kMillisecond);

// A click on another impact of the shown series: the chart redraws that impact.
void BM_ClickImpact(benchmark::State& state) {
  Folder folder;
  grx::TForm1 form(folder.env());
  form.FormCreate();
  form.show();
  grx::generateSampleMeasurements(form.measurements(), 200, 1);
  form.RebuildTables();
  QCoreApplication::processEvents();
  int column = 1;
  for (auto _ : state) {
    column = column == 1 ? 2 : 1;
    form.StringGrid2->selectBlock({column, 1, column, 1});
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_ClickImpact)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
