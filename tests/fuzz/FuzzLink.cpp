// The device worker's protocol steps fed from a fuzzed tester: every byte the worker reads comes
// from the input, in order, as the bulk-pipe transport delivers it (exactly the bytes asked for,
// or a failure once the input is used up). The first input byte picks requests to post after the
// read (names, screen). Whatever the worker hands over goes through the table texts.
#include "FuzzTexts.h"
#include "device/DeviceWorker.h"
#include "device/LinkRequests.h"
#include "device/LinkSleeper.h"
#include "device/PipeTransport.h"
#include "device/UsbTransport.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace grx {
namespace {

class FuzzPipe final : public PipeTransport {
 public:
  void feed(const std::uint8_t* data, std::size_t size) {
    data_ = data;
    left_ = size;
    open_ = false;
  }
  bool exhausted() const { return left_ == 0; }

  int FindDevices(std::string& list) override {
    list += "fuzz/tester0\n";
    return 1;
  }
  std::uint16_t Open(const std::string&) override {
    open_ = true;
    return 0;
  }
  void Close() override { open_ = false; }
  std::uint16_t Read(std::uint8_t* buffer, std::uint32_t n) override {
    if (!open_) return kPipeNotOpen;
    if (!buffer || n == 0) return kPipeBadArgument;
    if (n > left_) {  // what is there arrives, then the tester falls silent
      std::memcpy(buffer, data_, left_);
      data_ += left_;
      left_ = 0;
      return kPipeFailed;
    }
    std::memcpy(buffer, data_, n);
    data_ += n;
    left_ -= n;
    return kPipeDone;
  }
  std::uint16_t Write(const std::uint8_t* buffer, std::uint32_t n) override {
    if (!open_) return kPipeNotOpen;
    return buffer && n ? kPipeDone : kPipeBadArgument;
  }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t left_ = 0;
  bool open_ = false;
};

// libusb is not there: the worker uses the pipes only.
class NoUsb final : public UsbTransport {
 public:
  int Load() override { return 1; }
  int OpenDevice() override { return 1; }
  int Write(const std::uint8_t*, int) override { return -1; }
  int Read(std::uint8_t*, int) override { return -1; }
  void CloseDevice() override {}
  void Unload() override {}
  void setLinkMessage(std::function<void(const QString&)>) override {}
};

class ShowingView final : public ILinkView {
 public:
  void setStatusText(int, const QString& text) override {
    if (text.contains(QChar(0))) std::abort();  // the version text has its zeros as blanks
  }
  void setProgressVisible(bool) override {}
  void setProgressPosition(int position) override {
    if (position < 0 || position > 100) std::abort();
  }
  void setLinkIndicator(LinkIndicator) override {}
  void setChartVisible(bool) override {}
  void takeOverMeasurements(MeasurementSet& staging) override {
    shown.swap(staging);
    fuzz::showEverything(shown);
  }
  MeasurementSet shown;
};

struct Rig {
  LinkShared shared;
  FuzzPipe pipe;
  NoUsb usb;
  NoSleeper sleeper;
  ShowingView view;
  DeviceWorker worker{shared, pipe, usb, sleeper, view};
};

}  // namespace
}  // namespace grx

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace grx;
  static auto rig = std::make_unique<Rig>();  // the buffers are the size of a full tester: made once
  if (size < 1) return 0;
  const std::uint8_t requests = data[0];
  rig->pipe.feed(data + 1, size - 1);
  rig->shared.setState(lsStartup);
  rig->shared.setDataReceived(false);
  // The read: a failure goes back to the search, which finds the tester again; once the input is
  // used up every exchange fails, so a few more steps are enough.
  int afterEnd = 0;
  for (int step = 0; step < 100000 && afterEnd < 8; ++step) {
    rig->worker.Step();
    if (rig->shared.state() == lsIdle) break;
    if (rig->pipe.exhausted()) ++afterEnd;
  }
  if (rig->shared.state() == lsIdle) {
    // Then the requests the first byte asks for, each until it ends or the input runs out.
    const std::uint8_t codes[] = {lsReadMaterials, lsReadObjects, lsReadScreen, lsWriteMaterials};
    for (int r = 0; r < 4; ++r) {
      if (!(requests & (1 << r))) continue;
      rig->shared.setState(codes[r]);
      for (int step = 0; step < 4 && rig->shared.state() == codes[r]; ++step) rig->worker.Step();
      rig->shared.setState(lsIdle);
    }
  }
  if (rig->worker.impactCount() > std::uint32_t(kMaxRecords)) std::abort();
  return 0;
}
