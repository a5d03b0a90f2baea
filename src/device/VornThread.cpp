#include "VornThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>

#include <chrono>
#include <thread>

namespace grx {
namespace {

QThread::Priority qtPriority(TThreadPriority p) {
  switch (p) {
    case TThreadPriority::tpIdle: return QThread::IdlePriority;
    case TThreadPriority::tpLowest: return QThread::LowestPriority;
    case TThreadPriority::tpLower: return QThread::LowPriority;
    case TThreadPriority::tpNormal: return QThread::NormalPriority;
    case TThreadPriority::tpHigher: return QThread::HighPriority;
    case TThreadPriority::tpHighest: return QThread::HighestPriority;
    case TThreadPriority::tpTimeCritical: return QThread::TimeCriticalPriority;
  }
  return QThread::NormalPriority;
}

}  // namespace

// --- TVornThreadBase -------------------------------------------------------------------------

TVornThreadBase::TVornThreadBase(QObject* Owner) : QObject(Owner) {}

TVornThreadBase::~TVornThreadBase() = default;

void TVornThreadBase::SetThreadGroup(TVornThreadGroup* Value) {
  if (Value == group_) return;
  // Cleared before leaving, so the group's RemoveThread sees that the member is going.
  TVornThreadGroup* old = group_;
  group_ = nullptr;
  if (old) RemoveMe(old);
  group_ = Value;
  if (Value) AddMe(Value);
}

// --- TVornExecuteThread ----------------------------------------------------------------------

TVornExecuteThread::TVornExecuteThread(TVornThread* owner, void* data, TThreadPriority priority)
    : Data(data), owner_(owner), priority_(priority) {}

TVornExecuteThread::~TVornExecuteThread() {
  // Deleted only after the end notification, when run() has returned.
  wait();
}

void TVornExecuteThread::Terminate() {
  terminated_.store(true, std::memory_order_release);
  resumed_.notify_all();
}

void TVornExecuteThread::SuspendThread() {
  std::lock_guard<std::mutex> guard(suspendMutex_);
  suspended_ = true;
}

void TVornExecuteThread::ResumeThread() {
  bool startNow = false;
  {
    std::lock_guard<std::mutex> guard(suspendMutex_);
    suspended_ = false;
    startNow = !started_;
    started_ = true;
  }
  if (startNow) start(qtPriority(priority_.load()));
  resumed_.notify_all();
}

bool TVornExecuteThread::Suspended() const {
  std::lock_guard<std::mutex> guard(suspendMutex_);
  return suspended_;
}

void TVornExecuteThread::CheckSuspended() {
  std::unique_lock<std::mutex> guard(suspendMutex_);
  resumed_.wait(guard, [this] { return !suspended_ || Terminated(); });
}

void TVornExecuteThread::SetPriority(TThreadPriority priority) {
  priority_ = priority;
  if (isRunning()) setPriority(qtPriority(priority));
}

void TVornExecuteThread::callOnOwnerThread(const std::function<void()>& call) {
  CheckSuspended();
  if (Terminated()) return;
  // Checked again on the user-interface thread: the stop may have come while the call was queued.
  QMetaObject::invokeMethod(
      owner_,
      [this, &call] {
        if (!Terminated()) call();
      },
      Qt::BlockingQueuedConnection);
}

void TVornExecuteThread::Synchronize(const Method1& Method) {
  if (!Method) return;
  callOnOwnerThread([&] { Method(owner_); });
}

void TVornExecuteThread::Synchronize(const Method2& Method) {
  if (!Method) return;
  callOnOwnerThread([&] { Method(owner_, this); });
}

void TVornExecuteThread::Synchronize(const Method3& Method, void* Data) {
  if (!Method) return;
  syncData_ = Data;
  callOnOwnerThread([&] { Method(owner_, this, syncData_); });
}

void TVornExecuteThread::run() { owner_->Execute(this); }

// --- TVornThread -----------------------------------------------------------------------------

TVornThread::TVornThread(QObject* Owner) : TVornThreadBase(Owner), timer_(new QTimer(this)) {
  timer_->setInterval(int(refreshInterval_));
  QObject::connect(timer_, &QTimer::timeout, this, [this] { OnUpdateTimer(timer_); });
}

TVornThread::~TVornThread() {
  timer_->stop();
  if (thread_) {
    closing_ = true;
    thread_->ResumeThread();
    thread_->Terminate();
    // Events keep flowing so that a synchronised call already in flight, and the end
    // notification itself, can run.
    while (thread_) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      if (thread_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  SetThreadGroup(nullptr);
}

void TVornThread::SetPriority(TThreadPriority Value) {
  priority_ = Value;
  if (thread_) thread_->SetPriority(Value);
}

void TVornThread::SetTimeInterval(unsigned Value) {
  refreshInterval_ = Value;
  timer_->setInterval(int(Value));
}

void TVornThread::SetGetUpdateEnabled(bool Value) {
  if (Value == updateEnabled_) return;
  updateEnabled_ = Value;
  if (Value) timer_->start();
  else timer_->stop();
}

void TVornThread::Start(void* Data) {
  if (thread_) return;
  closing_ = false;
  auto* thread = new TVornExecuteThread(this, Data, priority_);
  QObject::connect(thread, &QThread::finished, this, [this, thread] { threadFinished(thread); },
                   Qt::QueuedConnection);
  thread_ = thread;
  ReportStarted(ThreadGroup());
  if (OnStart) {
    QMutexLocker guard(&lock_);
    OnStart(this, thread, thread->Data);
  }
  thread->ResumeThread();
  if (updateEnabled_) timer_->start();
}

void TVornThread::Stop() {
  if (!thread_) return;
  thread_->ResumeThread();
  thread_->Terminate();
}

void TVornThread::Suspend() {
  if (thread_) thread_->SuspendThread();
}

void TVornThread::Resume() {
  if (thread_) thread_->ResumeThread();
}

void TVornThread::Execute(TVornExecuteThread* Thread) {
  if (OnExecute) OnExecute(this, Thread, Thread->Data);
}

void TVornThread::ReportStarted(TVornThreadGroup* Group) {
  if (thread_ && Group) Group->ThreadStarted(this, thread_, thread_->Data);
}

void TVornThread::ReportTerminated(TVornThreadGroup* Group) {
  if (thread_ || !Group) return;
  void* none = nullptr;
  Group->ThreadTerminated(this, nullptr, none);
}

void TVornThread::AddMe(TVornThreadGroup* Group) { Group->AddThread(this); }

void TVornThread::RemoveMe(TVornThreadGroup* Group) { Group->RemoveThread(this); }

void TVornThread::OnUpdateTimer(QObject*) {
  TVornExecuteThread* thread = thread_;
  if (!thread) return;
  const int percent = thread->Percent.load(std::memory_order_acquire);
  if (ThreadGroup()) ThreadGroup()->ThreadUpdate(this, thread, percent, UpdatePriority, thread->Data);
  if (OnUpdate) {
    QMutexLocker guard(&lock_);
    OnUpdate(this, thread, percent, thread->Data);
  }
}

void TVornThread::OnThreadTerminate(TVornExecuteThread* Sender) {
  timer_->stop();
  thread_ = nullptr;
  ReportTerminated(ThreadGroup());
  if (OnTerminate) {
    QMutexLocker guard(&lock_);
    OnTerminate(this, Sender, Sender->Data);
  }
  if (updateEnabled_) timer_->start();
}

void TVornThread::OnThreadTerminateClose(TVornExecuteThread*) { thread_ = nullptr; }

void TVornThread::threadFinished(TVornExecuteThread* thread) {
  if (closing_) OnThreadTerminateClose(thread);
  else OnThreadTerminate(thread);
  delete thread;  // frees itself once its end has been reported
}

}  // namespace grx
