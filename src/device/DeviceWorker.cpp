#include "DeviceWorker.h"

#include "LinkSleeper.h"
#include "LinkTexts.h"
#include "PipeTransport.h"
#include "UsbTransport.h"
#include "VornThread.h"
#include "data/MeasurementSet.h"
#include "platform/Cp1251.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <string>

namespace grx {

DeviceWorker::DeviceWorker(LinkShared& shared, PipeTransport& pipe, UsbTransport& usb, LinkSleeper& sleeper,
                           ILinkView& view)
    : shared_(shared), pipe_(pipe), usb_(usb), sleeper_(sleeper), view_(view),
      staging_(std::make_unique<MeasurementSet>()) {
  usb_.setLinkMessage([this](const QString& text) { showLinkMessage(text); });
}

DeviceWorker::~DeviceWorker() { usb_.setLinkMessage({}); }

void DeviceWorker::VornThreadUSBExecute(TVornThreadBase*, TVornExecuteThread* Thread, void*&) {
  thread_ = Thread;
  pipe_.setCancel(&Thread->TerminatedFlag());
  wait(1000);
  Thread->SetPriority(TThreadPriority::tpNormal);
  while (!Thread->Terminated()) {
    Thread->CheckSuspended();
    wait(50);
    if (Thread->Terminated()) break;
    Step();
  }
  // Both are harmless when closed; releasing both covers a transport switch during the run.
  pipe_.Close();
  usb_.Unload();
  pipe_.setCancel(nullptr);
  thread_ = nullptr;
}

void DeviceWorker::Step() {
  switch (shared_.state()) {
    case lsStartup: stepStartup(); break;
    case lsConnect: stepConnect(); break;
    case lsReadVersion: stepReadVersion(); break;
    case lsReadDirectory: stepReadDirectory(); break;
    case lsReadRecords: stepReadRecords(); break;
    case lsReadMaterials: stepReadNames(lsReadMaterials); break;
    case lsWriteMaterials: stepWriteNames(lsWriteMaterials); break;
    case lsReadObjects: stepReadNames(lsReadObjects); break;
    case lsWriteObjects: stepWriteNames(lsWriteObjects); break;
    case lsReadScreen: stepReadScreen(); break;
    case lsDecode: stepDecode(); break;
    case lsPause: wait(200); break;
    case lsIdle: break;
    default: linkError(); break;
  }
}

// --- helpers ---------------------------------------------------------------------------------

bool DeviceWorker::usingPipe() const { return shared_.kind() == lkPipe; }

bool DeviceWorker::stopping() const { return thread_ && thread_->Terminated(); }

void DeviceWorker::wait(int ms) { sleeper_.sleepMs(ms, thread_ ? &thread_->TerminatedFlag() : nullptr); }

void DeviceWorker::callView(const std::function<void(ILinkView&)>& call) {
  if (thread_) thread_->Synchronize([&](TVornThreadBase*) { call(view_); });
  else call(view_);
}

void DeviceWorker::showStatus(const TextPair& text) {
  // The text is chosen on the user-interface thread, in the language current when it is shown.
  callView([&](ILinkView& v) { v.setStatusText(1, text.text()); });
}

void DeviceWorker::showStatusText(const QString& text) {
  callView([&](ILinkView& v) { v.setStatusText(1, text); });
}

void DeviceWorker::setIndicator(LinkIndicator colour) {
  if (colour_ == LinkIndicator::Red) wait(20);  // let a red flash stay visible
  colour_ = colour;
  callView([colour](ILinkView& v) { v.setLinkIndicator(colour); });
}

void DeviceWorker::showProgress(bool visible) {
  callView([visible](ILinkView& v) { v.setProgressVisible(visible); });
}

void DeviceWorker::setProgress(int position) {
  // Only changes cross to the window: a full read would otherwise wait for 3556 calls that show
  // the same 96 positions.
  if (position == progress_) return;
  progress_ = position;
  if (thread_) thread_->Percent.store(position, std::memory_order_release);
  callView([position](ILinkView& v) { v.setProgressPosition(position); });
}

void DeviceWorker::showLinkMessage(const QString& text) {
  callView([&](ILinkView& v) {
    v.setStatusText(0, text);
    v.setProgressVisible(false);
  });
}

bool DeviceWorker::linkWrite(const std::uint8_t* bytes, int n) {
  if (usingPipe()) return pipe_.Write(bytes, std::uint32_t(n)) == kPipeDone;
  return usb_.Write(bytes, n) >= 0;
}

int DeviceWorker::linkRead(std::uint8_t* buffer, int n) {
  if (usingPipe()) return pipe_.Read(buffer, std::uint32_t(n)) == kPipeDone ? n : -1;
  const int r = usb_.Read(buffer, n);
  return r < 0 ? -1 : r;
}

// A response is a 32-bit little-endian length and that many bytes. The length lands in the
// destination and the body overwrites it; a body longer than the limit is clipped and its rest
// stays in the link.
int DeviceWorker::framedRead(std::uint8_t* destination, int limit) {
  if (linkRead(destination, 4) < 0) return -1;
  announced_ = readU32(destination);
  const std::uint32_t length = std::min<std::uint32_t>(announced_, std::uint32_t(limit));
  const int got = linkRead(destination, int(length));
  if (got < 0) return -1;
  return std::min(got, int(length));
}

// Reads and drops what the last answer announced beyond `limit`, so that the next answer is read
// from its own first byte. No answer of the tester is longer than the record directory, so a
// larger announced length is junk and only that much is taken. Best effort: a link that fails
// here fails again at the next command, which takes the error path.
void DeviceWorker::discardRestOfAnswer(int limit) {
  if (announced_ <= std::uint32_t(limit)) return;
  std::uint32_t left = std::min<std::uint32_t>(announced_, kDirectorySize) - std::uint32_t(limit);
  while (left > 0) {
    const int got = linkRead(scratch_.data(), int(std::min<std::uint32_t>(left, std::uint32_t(scratch_.size()))));
    if (got <= 0) return;
    left -= std::min<std::uint32_t>(left, std::uint32_t(got));
  }
}

// Stage 0 is the version, 1 the directory, 2 + i record i.
void DeviceWorker::answered(std::uint32_t stage) {
  if (stage < reach_) return;
  reach_ = stage + 1;
  freshAnswers_.fetch_add(1, std::memory_order_acq_rel);
}

void DeviceWorker::requestAnswered(int received, int whole) {
  lastAnswerBytes_.store(received, std::memory_order_release);
  if (received >= whole) freshAnswers_.fetch_add(1, std::memory_order_acq_rel);
}

bool DeviceWorker::framedWriteBlock(const std::uint8_t* block) {
  std::uint8_t length[4];
  writeU32(length, kNameBlockSize);
  if (!linkWrite(length, 4)) return false;
  for (int offset = 0; offset < kNameBlockSize; offset += kNamePiece) {
    if (!linkWrite(block + offset, std::min(kNamePiece, kNameBlockSize - offset))) return false;
    wait(15);
  }
  return true;
}

bool DeviceWorker::command(std::uint8_t code) {
  const std::uint8_t bytes[2] = {code, std::uint8_t(~code)};
  return linkWrite(bytes, 2);
}

// Name and screen requests open the transport themselves; the bulk pipe lists the testers first.
bool DeviceWorker::openForRequest() {
  if (usingPipe()) {
    std::string list;
    if (pipe_.FindDevices(list) < 1) return false;
    return pipe_.Open(lastDevicePath(list)) == 0;
  }
  return usb_.OpenDevice() == 0;
}

void DeviceWorker::closeTransport() {
  if (usingPipe()) pipe_.Close();
  else usb_.CloseDevice();
}

// A failed exchange. Before the first complete read it restarts the search; afterwards the failed
// request stays posted and is tried again until its requester withdraws it. The transport is not
// closed: the next open reuses it.
void DeviceWorker::linkError() {
  if (!shared_.dataReceived()) shared_.setState(lsConnect);
  showStatus(linktext::kLinkError);
  setIndicator(LinkIndicator::Red);
  // Empties the link; the result does not matter. A worker being stopped closes the link instead
  // of waiting for bytes that a dead tester never sends.
  if (!stopping()) linkRead(scratch_.data(), int(scratch_.size()));
  wait(1000);
  showProgress(false);
}

// --- steps -----------------------------------------------------------------------------------

void DeviceWorker::stepStartup() {
  shared_.setKind(usb_.Load() == 0 ? lkLibUsb : lkNoLibUsb);
  if (!shared_.replaceState(lsStartup, lsConnect)) return;
  stepConnect();
}

void DeviceWorker::stepConnect() {
  bool opened = false;
  std::string list;
  if (pipe_.FindDevices(list) >= 1) {
    showStatus(linktext::kCheckConnection);
    setIndicator(LinkIndicator::Black);
    if (pipe_.Open(lastDevicePath(list)) == 0) {
      shared_.setKind(lkPipe);
      opened = true;
    }
  }
  if (!opened && shared_.kind() == lkLibUsb) opened = usb_.OpenDevice() == 0;
  if (!opened) return;  // the search repeats next cycle
  // Opening a data file meanwhile ends the search: its lsIdle is not overwritten.
  if (!shared_.replaceState(lsConnect, lsReadVersion)) {
    closeTransport();
    return;
  }
  showStatus(linktext::kVersionRead);
  setIndicator(LinkIndicator::Lime);
  wait(300);
}

void DeviceWorker::stepReadVersion() {
  const bool pipe = usingPipe();
  if (!command(kCmdReadVersion)) return linkError();
  wait(pipe ? 50 : 80);
  const int length = framedRead(version_.data(), kVersionLimit);
  if (length < 0) return linkError();
  answered(0);
  // A longer text than the program keeps: its rest must not be taken for the directory answer.
  discardRestOfAnswer(kVersionLimit);
  // The tester pads with zeros; they show as blanks.
  std::replace(version_.begin(), version_.begin() + length, std::uint8_t(0), std::uint8_t(' '));
  version_[std::size_t(length)] = 0;
  const QString text = fromCp1251(reinterpret_cast<const char*>(version_.data()), length);
  callView([&](ILinkView& v) { v.setStatusText(0, text); });
  shared_.setState(lsReadDirectory);
  showStatus(linktext::kParametersRead);
  wait(300);
}

void DeviceWorker::stepReadDirectory() {
  showProgress(true);
  progress_ = -1;
  setProgress(0);
  if (!command(kCmdReadDirectory)) return linkError();
  wait(50);
  const int received = framedRead(staging_->directory(), kDirectorySize);
  if (received < 0) return linkError();
  answered(1);
  // Only entries inside this answer count: bytes beyond it are left from an earlier read.
  impacts_ = countImpacts(staging_->directory(), received);
  if (impacts_ >= 1) {
    shared_.setState(lsReadRecords);
    showStatusText(QString());
    setIndicator(LinkIndicator::Lime);
    return;
  }
  staging_->clear();
  shared_.setState(lsDecode);
  showStatus(linktext::kNoData);
  setIndicator(LinkIndicator::ButtonFace);
  showProgress(false);
}

void DeviceWorker::stepReadRecords() {
  const std::uint32_t n = impacts_;
  for (std::uint32_t i = 0; i < n; ++i) {
    if (stopping()) return;  // the window is closing: the read is abandoned
    setProgress(int(i * 95 / n + 5));
    const std::uint8_t request[4] = {kCmdReadRecord, std::uint8_t(~kCmdReadRecord), std::uint8_t(i & 0xFF),
                                     std::uint8_t(i >> 8)};
    if (!linkWrite(request, 4)) return linkError();
    if (framedRead(staging_->record(i), kRecordSize) < 0) return linkError();
    answered(2 + i);
  }
  staging_->clear();
  staging_->setCount(n);
  staging_->buildSeries();
  shared_.setDataReceived(true);
  shared_.setState(lsDecode);
  showStatusText(linktext::kDataReaded.text() + QStringLiteral(" (") + QString::number(n) + u')');
  setIndicator(LinkIndicator::ButtonFace);
  showProgress(false);
}

void DeviceWorker::stepDecode() {
  closeTransport();
  reach_ = 0;  // the next read answers afresh
  shared_.setState(lsIdle);
  // The shown set is replaced on the user-interface thread, only after a complete read.
  callView([this](ILinkView& v) {
    v.setChartVisible(false);
    v.takeOverMeasurements(*staging_);
    v.setChartVisible(true);
  });
}

void DeviceWorker::stepReadNames(std::uint8_t state) {
  if (shared_.kind() == lkNoLibUsb) return linkError();
  if (!openForRequest()) {
    showStatus(linktext::kCheckConnection);
    setIndicator(LinkIndicator::Black);
    return;  // still posted: tried again next cycle until the requester withdraws it
  }
  const NameList list = state == lsReadMaterials ? NameList::Materials : NameList::Objects;
  setIndicator(LinkIndicator::Lime);
  if (list == NameList::Objects && !usingPipe()) {
    if (!command(kCmdReadObjects)) return linkError();
    wait(300);
  } else {
    wait(300);
    if (!command(list == NameList::Materials ? kCmdReadMaterials : kCmdReadObjects)) return linkError();
    wait(50);
  }
  names_ = shared_.names(list);  // a short answer leaves the rest of the block as it was
  const int received = framedRead(names_.data(), kNameBlockSize);
  if (received < 0) return linkError();
  requestAnswered(received, kNameBlockSize);
  if (shared_.state() == state) shared_.setNames(list, names_);
  closeTransport();
  shared_.replaceState(state, lsIdle);
  showStatus(linktext::kParamReaded);
  setIndicator(LinkIndicator::ButtonFace);
}

void DeviceWorker::stepWriteNames(std::uint8_t state) {
  if (shared_.kind() == lkNoLibUsb) return linkError();
  if (!openForRequest()) {
    showStatus(linktext::kCheckConnection);
    setIndicator(LinkIndicator::Black);
    return;
  }
  const NameList list = state == lsWriteMaterials ? NameList::Materials : NameList::Objects;
  names_ = shared_.names(list);
  setIndicator(LinkIndicator::Lime);
  if (!command(list == NameList::Materials ? kCmdWriteMaterials : kCmdWriteObjects)) return linkError();
  wait(300);
  if (!framedWriteBlock(names_.data())) return linkError();
  closeTransport();
  shared_.replaceState(state, lsIdle);
  showStatus(linktext::kParamWrited);
  setIndicator(LinkIndicator::ButtonFace);
}

void DeviceWorker::stepReadScreen() {
  if (shared_.kind() == lkNoLibUsb) return linkError();
  if (!openForRequest()) {
    showStatus(linktext::kCheckConnection);
    setIndicator(LinkIndicator::Black);
    return;
  }
  showStatus(linktext::kScreenshotReading);
  setIndicator(LinkIndicator::Lime);
  if (usingPipe()) {
    wait(100);
    if (!command(kCmdReadScreen)) return linkError();
  } else {
    if (!command(kCmdReadScreen)) return linkError();
    wait(300);
  }
  screen_ = shared_.screenImage();
  const int received = framedRead(screen_.data(), kScreenImageSize);
  if (received < 0) return linkError();
  requestAnswered(received, kScreenImageSize);
  if (shared_.state() == lsReadScreen) shared_.setScreenImage(screen_);
  closeTransport();
  shared_.replaceState(lsReadScreen, lsIdle);
  showStatus(linktext::kScreenshotReaded);
  setIndicator(LinkIndicator::ButtonFace);
}

}  // namespace grx
