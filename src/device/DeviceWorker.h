#pragma once
// The device worker: the only code that talks to the tester. A state machine driven by the shared
// link state; the worker thread performs one Step() every 50 ms. It finds and opens the tester,
// reads its version text, record directory and every impact record into a staging measurement
// set, and hands that set to the window only once the whole read has succeeded. On request it
// reads or writes the two name blocks and reads the screen image.
#include "LinkState.h"
#include "LinkView.h"
#include "platform/TextPair.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace grx {

class LinkSleeper;
class MeasurementSet;
class PipeTransport;
class UsbTransport;
class TVornThreadBase;
class TVornExecuteThread;

// Command bytes: a code followed by its complement.
inline constexpr std::uint8_t kCmdReadVersion = 0x01;
inline constexpr std::uint8_t kCmdReadDirectory = 0x02;
inline constexpr std::uint8_t kCmdReadRecord = 0x03;
inline constexpr std::uint8_t kCmdReadMaterials = 0x05;
inline constexpr std::uint8_t kCmdWriteMaterials = 0x06;
inline constexpr std::uint8_t kCmdReadObjects = 0x07;
inline constexpr std::uint8_t kCmdWriteObjects = 0x08;
inline constexpr std::uint8_t kCmdReadScreen = 0x09;
inline constexpr int kNamePiece = 64;  // a name block goes out in pieces of at most this many bytes

class DeviceWorker {
 public:
  // All references must outlive the worker. `view` is called on the user-interface thread through
  // the thread component's Synchronize while the worker runs on it, directly otherwise (tests).
  DeviceWorker(LinkShared& shared, PipeTransport& pipe, UsbTransport& usb, LinkSleeper& sleeper, ILinkView& view);
  ~DeviceWorker();
  DeviceWorker(const DeviceWorker&) = delete;
  DeviceWorker& operator=(const DeviceWorker&) = delete;

  // The OnExecute handler of the worker thread component: waits 1 s, then steps every 50 ms until
  // the thread is told to stop, then releases both transports.
  void VornThreadUSBExecute(TVornThreadBase* Sender, TVornExecuteThread* Thread, void*& Data);

  // One cycle for the current link state.
  void Step();

  // The staging set the worker reads into (the view takes it over in lsDecode).
  MeasurementSet& stagingSet() { return *staging_; }
  // The impact count of the directory last read.
  std::uint32_t impactCount() const { return impacts_; }
  // Answers that took the tester's exchange further: the version, the directory or a record not
  // received before in this read, and every whole name block or screen image. A read that starts
  // over after a fault repeats answers already counted, so they do not count again; a cut name or
  // screen answer is no progress either. Any thread may read it; a caller that watches for a
  // silent tester compares it over time.
  std::uint32_t freshAnswers() const { return freshAnswers_.load(std::memory_order_acquire); }
  // The body bytes of the last name or screen answer (set before the request's lsIdle). The window
  // shows what arrived; grx1-cli takes a short answer for a failed exchange.
  int lastAnswerBytes() const { return lastAnswerBytes_.load(std::memory_order_acquire); }

 private:
  bool usingPipe() const;
  bool stopping() const;
  void wait(int ms);
  void callView(const std::function<void(ILinkView&)>& call);
  void showStatus(const TextPair& text);
  void showStatusText(const QString& text);
  void setIndicator(LinkIndicator colour);
  void showProgress(bool visible);
  void setProgress(int position);
  void showLinkMessage(const QString& text);

  bool linkWrite(const std::uint8_t* bytes, int n);
  int linkRead(std::uint8_t* buffer, int n);            // bytes received, or -1
  int framedRead(std::uint8_t* destination, int limit);  // body bytes received, or -1
  void discardRestOfAnswer(int limit);
  void answered(std::uint32_t stage);
  void requestAnswered(int received, int whole);
  bool framedWriteBlock(const std::uint8_t* block);
  bool command(std::uint8_t code);
  bool openForRequest();
  void closeTransport();
  void linkError();

  void stepStartup();
  void stepConnect();
  void stepReadVersion();
  void stepReadDirectory();
  void stepReadRecords();
  void stepDecode();
  void stepReadNames(std::uint8_t state);
  void stepWriteNames(std::uint8_t state);
  void stepReadScreen();

  LinkShared& shared_;
  PipeTransport& pipe_;
  UsbTransport& usb_;
  LinkSleeper& sleeper_;
  ILinkView& view_;

  TVornExecuteThread* thread_ = nullptr;  // set while VornThreadUSBExecute runs
  LinkIndicator colour_ = LinkIndicator::ButtonFace;
  int progress_ = -1;  // last position sent to the view
  std::uint32_t impacts_ = 0;
  std::uint32_t announced_ = 0;  // the length the last answer announced, before clipping
  std::uint32_t reach_ = 0;      // stages of this read answered so far: 1 version, 2 directory, 3 + i record i
  std::atomic<std::uint32_t> freshAnswers_{0};
  std::atomic<int> lastAnswerBytes_{0};

  // Fixed buffers for the whole run.
  std::unique_ptr<MeasurementSet> staging_;
  std::array<std::uint8_t, kVersionLimit + 1> version_{};
  std::array<std::uint8_t, 1000> scratch_{};
  NameBlock names_{};
  ScreenImage screen_{};
};

}  // namespace grx
