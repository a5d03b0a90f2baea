#pragma once
// The whole device link of one program run, wired in one place: the shared link state, both
// transports, the device worker and the worker thread component `VornThreadUSB` it runs on.
// The window program and the command-line read create one, start it, and destroy it at the end.
#include "DeviceWorker.h"
#include "LibUsbLink.h"
#include "LinkSleeper.h"
#include "LinkState.h"
#include "PipeLink.h"
#include "VornThread.h"

#include <memory>

namespace grx {

class DeviceLink {
 public:
  // Create on the user-interface thread. `sleeper` defaults to the real clock.
  explicit DeviceLink(ILinkView& view, std::unique_ptr<LinkSleeper> sleeper = nullptr);
  // Stops the worker and waits for it, processing events meanwhile.
  ~DeviceLink();
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  LinkShared& shared() { return shared_; }
  DeviceWorker& worker() { return worker_; }
  TVornThread& VornThreadUSB() { return *thread_; }
  TLibUsbLink& libUsb() { return usb_; }
  TPipeLink& pipes() { return pipe_; }

  void start() { thread_->Start(); }
  void stop() { thread_->Stop(); }
  bool running() const { return thread_->GetRuning(); }
  // Processes events until the worker has ended or `timeoutMs` (negative: no limit) has passed.
  bool waitStopped(int timeoutMs = -1);

 private:
  LinkShared shared_;
  TPipeLink pipe_;
  TLibUsbLink usb_;
  std::unique_ptr<LinkSleeper> sleeper_;
  DeviceWorker worker_;
  std::unique_ptr<TVornThread> thread_;  // last: destroyed first, while the worker still exists
};

}  // namespace grx
