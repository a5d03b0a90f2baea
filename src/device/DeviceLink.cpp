#include "DeviceLink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace grx {

DeviceLink::DeviceLink(ILinkView& view, std::unique_ptr<LinkSleeper> sleeper)
    : sleeper_(sleeper ? std::move(sleeper) : std::make_unique<SystemSleeper>()),
      worker_(shared_, pipe_, usb_, *sleeper_, view),
      thread_(std::make_unique<TVornThread>()) {
  thread_->OnExecute = [this](TVornThreadBase* sender, TVornExecuteThread* thread, void*& data) {
    worker_.VornThreadUSBExecute(sender, thread, data);
  };
}

DeviceLink::~DeviceLink() {
  stop();
  waitStopped();
}

bool DeviceLink::waitStopped(int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (thread_->GetRuning()) {
    if (timeoutMs >= 0 && timer.elapsed() >= timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (thread_->GetRuning()) QThread::msleep(1);
  }
  return true;
}

}  // namespace grx
