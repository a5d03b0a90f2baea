#pragma once
// Stand-ins for the window, the clock and the requester's wait, and access to the libusb test
// double, shared by the device tests.
#include "data/MeasurementSet.h"
#include "device/LinkRequests.h"
#include "device/LinkSleeper.h"
#include "device/LinkView.h"
#include "sim/UsbDoubleControl.h"
#include "support/WaitUntil.h"

#include <QLibrary>
#include <QThread>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

namespace grx::test {

// The window as a log of what the worker did to it, e.g. "panel1:Version Read", "indicator:lime",
// "position:5", "progress:show", "chart:hide", "takeover:20".
class RecordingView final : public ILinkView {
 public:
  void setStatusText(int panel, const QString& text) override;
  void setProgressVisible(bool visible) override;
  void setProgressPosition(int position) override;
  void setLinkIndicator(LinkIndicator colour) override;
  void setChartVisible(bool visible) override;
  void takeOverMeasurements(MeasurementSet& staging) override;

  QStringList log() const;
  void clearLog();
  // Only the entries that start with `prefix`.
  QStringList entries(const QString& prefix) const;
  int takeOvers() const { return takeOvers_; }
  std::vector<int> positions() const;

  MeasurementSet shown;  // the set the tables would show
  std::atomic<QThread*> takeOverThread{nullptr};  // the thread the last hand-over ran on
  std::function<void()> onProgress;  // called after every position, on the calling thread

 private:
  void add(const QString& entry);
  mutable std::mutex mutex_;
  QStringList log_;
  std::vector<int> positions_;
  std::atomic<int> takeOvers_{0};
};

// The worker's clock: records every wait and returns at once.
class RecordingSleeper final : public LinkSleeper {
 public:
  void sleepMs(int ms, const std::atomic<bool>*) override { waits.push_back(ms); }
  std::vector<int> waits;
};

// A requester's wait in which the worker performs `stepsPerPoll` cycles.
class SteppingWaiter final : public UiWaiter {
 public:
  explicit SteppingWaiter(std::function<void()> step) : step_(std::move(step)) {}
  void waitMs(int ms) override {
    polls.push_back(ms);
    if (step_) step_();
  }
  std::vector<int> polls;

 private:
  std::function<void()> step_;
};

// The libusb test double, loaded the way the program loads libusb (GRX1_LIBUSB points at it).
class UsbDouble {
 public:
  UsbDouble();
  sim::UsbDoubleControl& operator*() const { return *control_; }
  sim::UsbDoubleControl* operator->() const { return control_; }
  static QString path();
  static QString incompletePath();

 private:
  QLibrary library_;
  sim::UsbDoubleControl* control_ = nullptr;
};

// A folder for bulk-pipe device nodes, set as GRX1_PIPE_DIR while the object lives.
class PipeFolder {
 public:
  PipeFolder();
  ~PipeFolder();
  QString path() const { return dir_.path(); }
  std::string stdPath() const { return dir_.path().toStdString(); }

 private:
  QTemporaryDir dir_;
};


// Points GRX1_LIBUSB at a file that does not exist, so libusb counts as not available.
void withoutLibUsb();

// The bytes of the commands a normal read of `n` records sends.
std::vector<std::uint8_t> fullReadCommands(std::uint32_t n);

// The set's records and series as equal as the tables need them.
::testing::AssertionResult sameMeasurements(const MeasurementSet& a, const MeasurementSet& b);

}  // namespace grx::test
