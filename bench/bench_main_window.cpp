// The main window: start-up to the first shown window, and rebuilding both tables for the largest
// set a tester read gives (3556 impacts). Runs on the offscreen platform.
#include "app/ModalUi.h"
#include "app/TForm1.h"
#include "data/SampleMeasurements.h"

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

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
