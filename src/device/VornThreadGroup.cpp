#include "VornThread.h"

namespace grx {

TVornThreadGroup::TVornThreadGroup(QObject* Owner) : TVornThreadBase(Owner) {}

TVornThreadGroup::~TVornThreadGroup() {
  const QList<TVornThreadBase*> items = items_;
  for (TVornThreadBase* item : items) item->SetThreadGroup(nullptr);
  SetThreadGroup(nullptr);
}

void TVornThreadGroup::AddThread(TVornThread* Thread) {
  if (!Thread) return;
  // Membership is held on both sides; joining always goes through the member's SetThreadGroup.
  if (Thread->ThreadGroup() != this) {
    Thread->SetThreadGroup(this);
    return;
  }
  if (items_.contains(Thread)) return;
  if (Thread->GetRuning()) Thread->ReportStarted(this);
  QMutexLocker guard(&lock_);
  items_.append(Thread);
  threads_.append(Thread);
}

void TVornThreadGroup::AddThreadGroup(TVornThreadGroup* Group) {
  if (!Group || Group == this) return;
  if (Group->ThreadGroup() != this) {
    Group->SetThreadGroup(this);
    return;
  }
  if (items_.contains(Group)) return;
  if (Group->GetRuning()) Group->ReportStarted(this);
  QMutexLocker guard(&lock_);
  items_.append(Group);
  for (TVornThread* t : Group->threads_) threads_.append(t);
}

// A member that leaves while it runs takes its share of the running count with it, without
// firing the end events (it has not ended); otherwise the group would count it forever.
void TVornThreadGroup::RemoveThread(TVornThread* Thread) {
  if (!Thread) return;
  if (Thread->ThreadGroup() == this) {
    Thread->SetThreadGroup(nullptr);
    return;
  }
  if (!items_.contains(Thread)) return;
  if (Thread->GetRuning()) forgetRunning(1);
  QMutexLocker guard(&lock_);
  items_.removeAll(Thread);
  threads_.removeOne(Thread);
}

void TVornThreadGroup::RemoveThreadGroup(TVornThreadGroup* Group) {
  if (!Group) return;
  if (Group->ThreadGroup() == this) {
    Group->SetThreadGroup(nullptr);
    return;
  }
  if (!items_.contains(Group)) return;
  forgetRunning(Group->GetCountRuning());
  QMutexLocker guard(&lock_);
  items_.removeAll(Group);
  for (TVornThread* t : Group->threads_) threads_.removeOne(t);
}

void TVornThreadGroup::forgetRunning(int n) {
  if (n <= 0) return;
  {
    QMutexLocker guard(&lock_);
    running_ = running_ > n ? running_ - n : 0;
  }
  if (ThreadGroup()) ThreadGroup()->forgetRunning(n);
}

void TVornThreadGroup::Start() { Start(nullptr); }

void TVornThreadGroup::Start(void* Data) {
  const QList<TVornThreadBase*> items = items_;
  for (TVornThreadBase* item : items) item->Start(Data);
}

void TVornThreadGroup::Stop() {
  const QList<TVornThreadBase*> items = items_;
  for (TVornThreadBase* item : items) item->Stop();
}

void TVornThreadGroup::Suspend() {
  const QList<TVornThreadBase*> items = items_;
  for (TVornThreadBase* item : items) item->Suspend();
}

void TVornThreadGroup::Resume() {
  const QList<TVornThreadBase*> items = items_;
  for (TVornThreadBase* item : items) item->Resume();
}

int TVornThreadGroup::GetCountRuning() const {
  QMutexLocker guard(&lock_);
  return running_;
}

int TVornThreadGroup::GetThreadItemsCount() const {
  QMutexLocker guard(&lock_);
  return int(items_.size());
}

TVornThreadBase* TVornThreadGroup::GetThreadItems(int Index) const {
  QMutexLocker guard(&lock_);
  return items_.value(Index, nullptr);
}

int TVornThreadGroup::GetThreadsCount() const {
  QMutexLocker guard(&lock_);
  return int(threads_.size());
}

TVornThread* TVornThreadGroup::GetThreads(int Index) const {
  QMutexLocker guard(&lock_);
  return threads_.value(Index, nullptr);
}

void TVornThreadGroup::ReportStarted(TVornThreadGroup* Group) {
  if (!Group) return;
  const QList<TVornThreadBase*> items = items_;
  for (TVornThreadBase* item : items) item->ReportStarted(Group);
}

void TVornThreadGroup::ReportTerminated(TVornThreadGroup* Group) {
  if (!Group) return;
  const QList<TVornThreadBase*> items = items_;
  for (TVornThreadBase* item : items) item->ReportTerminated(Group);
}

void TVornThreadGroup::AddMe(TVornThreadGroup* Group) { Group->AddThreadGroup(this); }

void TVornThreadGroup::RemoveMe(TVornThreadGroup* Group) { Group->RemoveThreadGroup(this); }

void TVornThreadGroup::ThreadStarted(TVornThreadBase* Sender, TVornExecuteThread* Thread, void*& Data) {
  int oldCount = 0;
  {
    QMutexLocker guard(&lock_);
    oldCount = running_++;
    if (OnThreadStart) OnThreadStart(Sender, Thread, Data);
  }
  if (ThreadGroup()) ThreadGroup()->ThreadStarted(Sender, Thread, Data);
  if (oldCount == 0 && OnStart) {
    QMutexLocker guard(&lock_);
    OnStart(Sender, Thread, Data);
  }
}

void TVornThreadGroup::ThreadTerminated(TVornThreadBase* Sender, TVornExecuteThread* Thread, void*& Data) {
  int newCount = 0;
  {
    QMutexLocker guard(&lock_);
    if (running_ > 0) --running_;
    newCount = running_;
    if (OnThreadTerminate) OnThreadTerminate(Sender, Thread, Data);
  }
  if (ThreadGroup()) ThreadGroup()->ThreadTerminated(Sender, Thread, Data);
  if (newCount == 0 && OnTerminate) {
    QMutexLocker guard(&lock_);
    OnTerminate(Sender, Thread, Data);
  }
}

void TVornThreadGroup::ThreadUpdate(TVornThreadBase* Sender, TVornExecuteThread* Thread, int Percent,
                                    int UpdatePriority, void*& Data) {
  if (OnThreadUpdate) OnThreadUpdate(Sender, Thread, Percent, Data);
  if (!OnUpdate) return;
  const QList<TVornThreadBase*> items = items_;
  for (TVornThreadBase* item : items)
    if (item->GetRuning() && item->UpdatePriority > UpdatePriority) return;
  QMutexLocker guard(&lock_);
  OnUpdate(Sender, Thread, Percent, Data);
}

}  // namespace grx
