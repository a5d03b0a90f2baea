// A full read of a full tester (3556 impact records, about 7.8 MB) by the device worker over the
// bulk-pipe transport from the simulated tester on FIFOs: once with the protocol's fixed waits
// removed (the program's own time) and once with them, as the window program runs it (a 50 ms
// pause before every cycle and the waits of each step).
#include "data/MeasurementSet.h"
#include "data/SampleMeasurements.h"
#include "device/DeviceWorker.h"
#include "device/LibUsbLink.h"
#include "device/LinkSleeper.h"
#include "device/LinkView.h"
#include "device/PipeLink.h"
#include "sim/PipeTester.h"
#include "sim/TesterData.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

// The window, reduced to taking over the set.
class BenchView final : public grx::ILinkView {
 public:
  void setStatusText(int, const QString&) override {}
  void setProgressVisible(bool) override {}
  void setProgressPosition(int) override {}
  void setLinkIndicator(grx::LinkIndicator) override {}
  void setChartVisible(bool) override {}
  void takeOverMeasurements(grx::MeasurementSet& staging) override { shown.swap(staging); }
  grx::MeasurementSet shown;
};

// One simulated full tester for the whole program run.
struct FullTester {
  FullTester() : server(core, dir.path().toStdString()) {
    qputenv("GRX1_PIPE_DIR", dir.path().toLocal8Bit());
    qputenv("GRX1_LIBUSB", "/nonexistent/libusb.so");  // only the pipes
    auto set = std::make_unique<grx::MeasurementSet>();
    grx::generateSampleMeasurements(*set, grx::kMaxReadImpacts, 1);
    grx::sim::loadMeasurements(core, *set);
    if (!server.create()) std::abort();
    server.start();
    if (!server.waitListening(5000)) std::abort();
  }
  QTemporaryDir dir;
  grx::sim::TesterCore core;
  grx::sim::PipeTester server;
};

FullTester& fullTester() {
  static FullTester tester;
  return tester;
}

void fullRead(benchmark::State& state, grx::LinkSleeper& sleeper, int cyclePauseMs) {
  fullTester();
  grx::LinkShared shared;
  grx::TPipeLink pipe;
  grx::TLibUsbLink usb;
  BenchView view;
  grx::DeviceWorker worker(shared, pipe, usb, sleeper, view);
  for (auto _ : state) {
    shared.setDataReceived(false);
    if (shared.state() == grx::lsIdle) shared.setState(grx::lsConnect);
    for (int cycles = 0; shared.state() != grx::lsIdle; ++cycles) {
      if (cycles > 10000) {
        state.SkipWithError("the read did not complete");
        return;
      }
      sleeper.sleepMs(cyclePauseMs, nullptr);
      worker.Step();
    }
    if (view.shown.count() != grx::kMaxReadImpacts) {
      state.SkipWithError("wrong impact count");
      return;
    }
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * grx::kMaxReadImpacts * (grx::kRecordSize + 4));
  state.counters["records"] = grx::kMaxReadImpacts;
}

void BM_FullReadWithoutWaits(benchmark::State& state) {
  grx::NoSleeper sleeper;
  fullRead(state, sleeper, 0);
}
BENCHMARK(BM_FullReadWithoutWaits)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullReadWithWaits(benchmark::State& state) {
  grx::SystemSleeper sleeper;
  fullRead(state, sleeper, 50);
}
BENCHMARK(BM_FullReadWithWaits)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
