#pragma once
// A small component that runs one procedure on a thread of its own and reports the thread's life
// to the user-interface thread: when it starts, periodically while it runs (update timer) and when
// it ends. Components can be joined into groups that count their running members. The device
// worker runs on one of these; the procedure reaches windows only through Synchronize.
//
// All methods except those of TVornExecuteThread marked "worker thread" are called on the
// user-interface thread (the thread that owns the component).
#include <QList>
#include <QObject>
#include <QRecursiveMutex>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

class QTimer;

namespace grx {

class TVornThreadBase;
class TVornThread;
class TVornExecuteThread;
class TVornThreadGroup;

// Events: bound methods, here any callable. Data is passed by reference, so a handler may replace it.
using TVornThreadEvent = std::function<void(TVornThreadBase* Sender, TVornExecuteThread* Thread, void*& Data)>;
using TVornUpdateEvent =
    std::function<void(TVornThreadBase* Sender, TVornExecuteThread* Thread, int Percent, void*& Data)>;

// Thread priorities 0..6.
enum class TThreadPriority : int { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TVornThreadBase : public QObject {
 public:
  explicit TVornThreadBase(QObject* Owner = nullptr);
  ~TVornThreadBase() override;

  TVornThreadGroup* ThreadGroup() const { return group_; }
  // Leaves the current group and joins `Value` (none: just leaves).
  void SetThreadGroup(TVornThreadGroup* Value);

  int UpdatePriority = 0;  // decides whose update reaches a group's OnUpdate
  TVornUpdateEvent OnUpdate;
  TVornThreadEvent OnStart;
  TVornThreadEvent OnTerminate;

  virtual bool GetRuning() const = 0;
  virtual void ReportStarted(TVornThreadGroup* Group) = 0;
  virtual void ReportTerminated(TVornThreadGroup* Group) = 0;
  virtual void AddMe(TVornThreadGroup* Group) = 0;
  virtual void RemoveMe(TVornThreadGroup* Group) = 0;
  virtual void Start() = 0;
  virtual void Start(void* Data) = 0;
  virtual void Stop() = 0;
  virtual void Suspend() = 0;
  virtual void Resume() = 0;

 protected:
  // Held while OnStart, OnUpdate and OnTerminate run and while a group changes its lists or count.
  // Recursive, because a handler may well ask the component about itself.
  mutable QRecursiveMutex lock_;

 private:
  TVornThreadGroup* group_ = nullptr;
};

// The operating-system thread of one run. Created suspended by TVornThread::Start, deleted after
// its end notification has run.
class TVornExecuteThread : public QThread {
 public:
  using Method1 = std::function<void(TVornThreadBase* Sender)>;
  using Method2 = std::function<void(TVornThreadBase* Sender, TVornExecuteThread* Thread)>;
  using Method3 = std::function<void(TVornThreadBase* Sender, TVornExecuteThread* Thread, void*& Data)>;

  TVornExecuteThread(TVornThread* owner, void* data, TThreadPriority priority);
  ~TVornExecuteThread() override;

  TVornThread* Owner() const { return owner_; }

  void* Data = nullptr;          // the value given to Start(Data)
  std::atomic<int> Percent{0};   // progress the procedure may set; passed to the update events

  // The terminated flag: set when the thread is told to stop; the procedure polls it.
  bool Terminated() const { return terminated_.load(std::memory_order_acquire); }
  const std::atomic<bool>& TerminatedFlag() const { return terminated_; }
  void Terminate();

  // Suspension is cooperative: a thread cannot be halted safely from outside, so a suspended
  // thread stops at its next CheckSuspended (the device worker calls it every cycle) or
  // Synchronize. Resume on a thread that was never started starts it.
  void SuspendThread();
  void ResumeThread();
  bool Suspended() const;
  void CheckSuspended();  // worker thread

  void SetPriority(TThreadPriority priority);  // at once when running
  TThreadPriority Priority() const { return priority_.load(); }

  // Worker thread: run the method on the user-interface thread and wait until it has run. Nothing
  // happens once the thread has been told to stop, or when the method is empty, so a stopping
  // worker never blocks on a user-interface thread that is waiting for it.
  void Synchronize(const Method1& Method);
  void Synchronize(const Method2& Method);
  void Synchronize(const Method3& Method, void* Data);

 protected:
  void run() override;  // the thread body: the owner's Execute

 private:
  void callOnOwnerThread(const std::function<void()>& call);

  TVornThread* owner_;
  std::atomic<TThreadPriority> priority_;  // the worker sets its own priority while running
  std::atomic<bool> terminated_{false};
  mutable std::mutex suspendMutex_;
  std::condition_variable resumed_;
  bool suspended_ = true;  // created suspended
  bool started_ = false;
  void* syncData_ = nullptr;  // data of the third Synchronize form while its call is in flight
};

class TVornThread : public TVornThreadBase {
 public:
  explicit TVornThread(QObject* Owner = nullptr);
  // While a thread runs: asks it to stop, processes events until it has ended (no OnTerminate).
  ~TVornThread() override;

  TVornThreadEvent OnExecute;  // runs on the worker thread; expected to loop until Terminated()

  TThreadPriority GetPriority() const { return priority_; }
  void SetPriority(TThreadPriority Value);
  unsigned GetTimeInterval() const { return refreshInterval_; }  // RefreshInterval, ms
  void SetTimeInterval(unsigned Value);
  bool UpdateEnabled() const { return updateEnabled_; }
  void SetGetUpdateEnabled(bool Value);

  // The thread of the current run, or none.
  TVornExecuteThread* CurrentThread() const { return thread_; }

  bool GetRuning() const override { return thread_ != nullptr; }
  void ReportStarted(TVornThreadGroup* Group) override;
  void ReportTerminated(TVornThreadGroup* Group) override;
  void AddMe(TVornThreadGroup* Group) override;
  void RemoveMe(TVornThreadGroup* Group) override;
  void Start() override { Start(nullptr); }
  void Start(void* Data) override;
  void Stop() override;  // asks; does not wait
  void Suspend() override;
  void Resume() override;

  // Worker thread: calls OnExecute (not under the lock).
  virtual void Execute(TVornExecuteThread* Thread);

 protected:
  virtual void OnUpdateTimer(QObject* Sender);
  virtual void OnThreadTerminate(TVornExecuteThread* Sender);
  virtual void OnThreadTerminateClose(TVornExecuteThread* Sender);

 private:
  void threadFinished(TVornExecuteThread* thread);

  TThreadPriority priority_ = TThreadPriority::tpNormal;
  unsigned refreshInterval_ = 100;
  bool updateEnabled_ = false;
  bool closing_ = false;  // end notification replaced by OnThreadTerminateClose
  QTimer* timer_;
  TVornExecuteThread* thread_ = nullptr;
};

class TVornThreadGroup : public TVornThreadBase {
 public:
  explicit TVornThreadGroup(QObject* Owner = nullptr);
  ~TVornThreadGroup() override;

  TVornThreadEvent OnThreadStart;
  TVornThreadEvent OnThreadTerminate;
  TVornUpdateEvent OnThreadUpdate;

  void AddThread(TVornThread* Thread);
  void AddThreadGroup(TVornThreadGroup* Group);
  void RemoveThread(TVornThread* Thread);
  void RemoveThreadGroup(TVornThreadGroup* Group);

  void Start() override;
  void Start(void* Data) override;
  void Stop() override;
  void Suspend() override;
  void Resume() override;

  virtual int GetCountRuning() const;
  bool GetRuning() const override { return GetCountRuning() > 0; }

  int GetThreadItemsCount() const;
  TVornThreadBase* GetThreadItems(int Index) const;
  int GetThreadsCount() const;
  TVornThread* GetThreads(int Index) const;

  void ReportStarted(TVornThreadGroup* Group) override;
  void ReportTerminated(TVornThreadGroup* Group) override;
  void AddMe(TVornThreadGroup* Group) override;
  void RemoveMe(TVornThreadGroup* Group) override;

  // Reports of the members.
  void ThreadStarted(TVornThreadBase* Sender, TVornExecuteThread* Thread, void*& Data);
  void ThreadTerminated(TVornThreadBase* Sender, TVornExecuteThread* Thread, void*& Data);
  void ThreadUpdate(TVornThreadBase* Sender, TVornExecuteThread* Thread, int Percent, int UpdatePriority,
                    void*& Data);

 private:
  void forgetRunning(int n);

  QList<TVornThreadBase*> items_;
  QList<TVornThread*> threads_;
  int running_ = 0;
};

}  // namespace grx
