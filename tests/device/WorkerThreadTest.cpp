// The device worker on its real worker thread: a whole read handed over on the user-interface
// thread, and a window closing in the middle of a read.
#include "LinkTestSupport.h"
#include "data/SampleMeasurements.h"
#include "device/DeviceLink.h"
#include "platform/TextPair.h"
#include "sim/PipeTester.h"
#include "sim/TesterData.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <vector>

namespace grx {
namespace {

using test::waitUntil;

class WorkerThread : public ::testing::Test {
 protected:
  void SetUp() override {
    setCurrentLanguage(Language::English);
    test::withoutLibUsb();
  }

  void serve(int impacts, int slowMs) {
    generateSampleMeasurements(*expected, impacts, 11);
    sim::loadMeasurements(core, *expected);
    core.faults().slowMs = slowMs;
    ASSERT_TRUE(server.create());
    server.start();
    ASSERT_TRUE(server.waitListening(5000));
  }

  test::PipeFolder folder;
  sim::TesterCore core;
  sim::PipeTester server{core, folder.stdPath()};
  test::RecordingView view;
  std::unique_ptr<MeasurementSet> expected = std::make_unique<MeasurementSet>();
};

TEST_F(WorkerThread, ReadsAndHandsTheSetOverOnTheUserInterfaceThread) {
  serve(40, 0);
  DeviceLink link(view, std::make_unique<NoSleeper>());
  link.start();
  ASSERT_TRUE(waitUntil([&] { return view.takeOvers() == 1; }, 10000));
  EXPECT_EQ(view.takeOverThread.load(), QThread::currentThread());
  EXPECT_TRUE(test::sameMeasurements(view.shown, *expected));
  EXPECT_EQ(link.shared().state(), lsIdle);
  link.stop();
  EXPECT_TRUE(link.waitStopped(5000));
}

TEST_F(WorkerThread, ClosingDuringAReadStopsTheWorkerWithoutAHang) {
  serve(kMaxReadImpacts, 1);  // about 4 s for the whole read
  auto link = std::make_unique<DeviceLink>(view, std::make_unique<NoSleeper>());
  link->start();
  ASSERT_TRUE(waitUntil([&] {
    const std::vector<int> p = view.positions();
    return !p.empty() && p.back() >= 6;
  }, 10000));
  QElapsedTimer timer;
  timer.start();
  link.reset();  // what the main window's close does: stop, then wait while processing events
  EXPECT_LT(timer.elapsed(), 2000);
  EXPECT_EQ(view.takeOvers(), 0) << "an abandoned read never replaces the shown set";
  EXPECT_TRUE(view.shown.isEmpty());
}

TEST_F(WorkerThread, StoppingWhileSearchingWithRealWaitsReturnsPromptly) {
  // No tester at all, the real clock: the worker sits in its first 1 s wait or in the search.
  DeviceLink link(view);
  link.start();
  QThread::msleep(20);
  QElapsedTimer timer;
  timer.start();
  link.stop();
  EXPECT_TRUE(link.waitStopped(5000));
  // The worker is still in its first 1000 ms wait: returning well before it ended shows the wait
  // was cut short (with room for a loaded machine).
  EXPECT_LT(timer.elapsed(), 900) << "the worker's waits end early once it is told to stop";
}

TEST_F(WorkerThread, StoppingWhileAReadWaitsForASilentTesterReturnsPromptly) {
  const std::string dir = folder.stdPath() + "/tester0";  // nodes with a reader, nobody answers
  ASSERT_TRUE(::mkdir(dir.c_str(), 0755) == 0 && ::mkfifo((dir + "/Pipe00").c_str(), 0600) == 0 &&
              ::mkfifo((dir + "/Pipe01").c_str(), 0600) == 0);
  const int reader = ::open((dir + "/Pipe00").c_str(), O_RDONLY | O_NONBLOCK);
  DeviceLink link(view, std::make_unique<NoSleeper>());
  link.start();
  char command[2];  // the version command has come: the worker waits for the answer
  ASSERT_TRUE(waitUntil([&] { return ::read(reader, command, 2) == 2; }, 10000));
  QElapsedTimer timer;
  timer.start();
  link.stop();
  // The read waits up to 500 ms and the error path as long again to empty the link: not when stopping.
  EXPECT_TRUE(link.waitStopped(5000) && timer.elapsed() < 400) << timer.elapsed();
  ::close(reader);
}

TEST_F(WorkerThread, TheWorkerWaits1000MsAtStartThen50MsEachCycle) {
  // Every wait through the clock, from the worker thread; no tester, so the search adds none.
  class Recorder final : public LinkSleeper {
   public:
    void sleepMs(int ms, const std::atomic<bool>*) override {
      {
        std::lock_guard<std::mutex> guard(mutex);
        waits.push_back(ms);
      }
      QThread::msleep(1);
    }
    std::vector<int> taken() {
      std::lock_guard<std::mutex> guard(mutex);
      return waits;
    }
    std::mutex mutex;
    std::vector<int> waits;
  };
  auto owned = std::make_unique<Recorder>();
  Recorder* recorder = owned.get();
  DeviceLink link(view, std::move(owned));
  link.start();
  ASSERT_TRUE(waitUntil([&] { return recorder->taken().size() >= 4; }, 10000));
  link.stop();
  EXPECT_TRUE(link.waitStopped(5000));
  const std::vector<int> waits = recorder->taken();
  EXPECT_EQ(std::vector<int>(waits.begin(), waits.begin() + 4), (std::vector<int>{1000, 50, 50, 50}));
}

}  // namespace
}  // namespace grx
