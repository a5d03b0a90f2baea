// The worker thread component: events, the update timer, synchronised calls, suspension, groups
// and destruction while running.
#include "LinkTestSupport.h"
#include "device/VornThread.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace grx {
namespace {

using test::waitUntil;

// A procedure that runs until it is told to stop, checking for suspension each round.
void loopUntilStopped(TVornThreadBase*, TVornExecuteThread* thread, void*&) {
  while (!thread->Terminated()) {
    thread->CheckSuspended();
    QThread::msleep(1);
  }
}

TEST(VornThread, StartRunsTheProcedureOnItsOwnThreadAndReportsStartAndEnd) {
  TVornThread component;
  int starts = 0, ends = 0;
  QThread* executeThread = nullptr;
  void* seenData = nullptr;
  void* endData = nullptr;
  int payload = 42;
  void* startData = &payload;
  component.OnStart = [&](TVornThreadBase* sender, TVornExecuteThread* thread, void*& data) {
    EXPECT_EQ(sender, &component);
    EXPECT_EQ(thread, component.CurrentThread());
    EXPECT_EQ(data, startData);
    ++starts;
  };
  component.OnExecute = [&](TVornThreadBase* s, TVornExecuteThread* thread, void*& data) {
    executeThread = QThread::currentThread();
    seenData = data;
    loopUntilStopped(s, thread, data);
  };
  component.OnTerminate = [&](TVornThreadBase*, TVornExecuteThread* thread, void*& data) {
    EXPECT_NE(thread, nullptr);
    EXPECT_EQ(QThread::currentThread(), qApp->thread());
    endData = data;
    ++ends;
  };

  EXPECT_FALSE(component.GetRuning());
  component.Start(&payload);
  EXPECT_TRUE(component.GetRuning());
  component.Start(&payload);  // running: nothing
  EXPECT_EQ(starts, 1);
  ASSERT_TRUE(waitUntil([&] { return seenData != nullptr; }));
  EXPECT_NE(executeThread, qApp->thread());
  EXPECT_EQ(seenData, &payload);

  component.Stop();
  EXPECT_TRUE(component.GetRuning()) << "Stop only asks";
  ASSERT_TRUE(waitUntil([&] { return !component.GetRuning(); }));
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(endData, &payload);

  // A new run gets a new thread object.
  seenData = nullptr;
  startData = nullptr;
  component.Start();
  ASSERT_TRUE(waitUntil([&] { return component.CurrentThread() && executeThread; }));
  component.Stop();
  ASSERT_TRUE(waitUntil([&] { return !component.GetRuning(); }));
  EXPECT_EQ(starts, 2);
  EXPECT_EQ(ends, 2);
}

TEST(VornThread, StopOnASuspendedThreadResumesItSoItSeesTheFlag) {
  TVornThread component;
  std::atomic<int> rounds{0};
  std::atomic<bool> returned{false};
  component.OnExecute = [&](TVornThreadBase*, TVornExecuteThread* thread, void*&) {
    while (!thread->Terminated()) {
      thread->CheckSuspended();
      ++rounds;
      QThread::msleep(1);
    }
    returned = true;
  };
  component.Start();
  ASSERT_TRUE(waitUntil([&] { return rounds > 2; }));
  component.Suspend();
  ASSERT_TRUE(waitUntil([&] {
    const int before = rounds;
    QThread::msleep(20);
    return rounds == before;
  }));
  component.Stop();
  ASSERT_TRUE(waitUntil([&] { return !component.GetRuning(); }));
  EXPECT_TRUE(returned);
}

TEST(VornThread, UpdateTimerFiresOnlyWhenEnabledAndCarriesThePercent) {
  for (bool enabled : {false, true}) {
    TVornThread component;
    component.SetTimeInterval(5);
    component.SetGetUpdateEnabled(enabled);
    std::atomic<int> updates{0};
    int lastPercent = -1;
    component.OnUpdate = [&](TVornThreadBase*, TVornExecuteThread*, int percent, void*&) {
      EXPECT_EQ(QThread::currentThread(), qApp->thread());
      lastPercent = percent;
      ++updates;
    };
    component.OnExecute = [](TVornThreadBase* s, TVornExecuteThread* thread, void*& data) {
      thread->Percent = 37;
      loopUntilStopped(s, thread, data);
    };
    component.Start();
    waitUntil([&] { return updates >= 3; }, enabled ? 5000 : 100);
    component.Stop();
    ASSERT_TRUE(waitUntil([&] { return !component.GetRuning(); }));
    if (enabled) {
      EXPECT_GE(updates, 3);
      EXPECT_EQ(lastPercent, 37);
    } else {
      EXPECT_EQ(updates, 0);
    }
  }
}

TEST(VornThread, SynchronizeRunsEachFormOnTheUserInterfaceThreadAndWaits) {
  TVornThread component;
  struct Seen {
    QThread* thread = nullptr;
    TVornThreadBase* sender = nullptr;
    TVornExecuteThread* executeThread = nullptr;
  };
  Seen seen[3];
  int original = 1, replaced = 2;
  void* dataAfter = nullptr;
  std::atomic<bool> done{false};
  component.OnExecute = [&](TVornThreadBase*, TVornExecuteThread* thread, void*&) {
    thread->Synchronize([&](TVornThreadBase* sender) { seen[0] = {QThread::currentThread(), sender, nullptr}; });
    thread->Synchronize([&](TVornThreadBase* sender, TVornExecuteThread* t) {
      seen[1] = {QThread::currentThread(), sender, t};
    });
    thread->Synchronize(
        [&](TVornThreadBase* sender, TVornExecuteThread* t, void*& data) {
          seen[2] = {QThread::currentThread(), sender, t};
          EXPECT_EQ(data, &original);
          data = &replaced;
          dataAfter = data;
        },
        &original);
    // The calls have run by the time Synchronize returns.
    EXPECT_EQ(seen[2].thread, qApp->thread());
    thread->Synchronize(TVornExecuteThread::Method1{});  // an empty method: nothing
    done = true;
    while (!thread->Terminated()) QThread::msleep(1);
  };
  component.Start();
  ASSERT_TRUE(waitUntil([&] { return done.load(); }));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(seen[i].thread, qApp->thread()) << i;
    EXPECT_EQ(seen[i].sender, &component) << i;
  }
  EXPECT_EQ(seen[1].executeThread, component.CurrentThread());
  EXPECT_EQ(seen[2].executeThread, component.CurrentThread());
  EXPECT_EQ(dataAfter, &replaced);
  component.Stop();
  ASSERT_TRUE(waitUntil([&] { return !component.GetRuning(); }));
}

TEST(VornThread, SynchronizeIsDroppedOnceTheThreadIsToldToStop) {
  TVornThread component;
  std::atomic<int> calls{0};
  std::atomic<bool> finished{false};
  component.OnExecute = [&](TVornThreadBase*, TVornExecuteThread* thread, void*&) {
    while (!thread->Terminated()) QThread::msleep(1);
    // The user-interface thread is not processing events here: a call that was not dropped would
    // block this thread for good.
    thread->Synchronize([&](TVornThreadBase*) { ++calls; });
    thread->Synchronize([&](TVornThreadBase*, TVornExecuteThread*) { ++calls; });
    thread->Synchronize([&](TVornThreadBase*, TVornExecuteThread*, void*&) { ++calls; }, nullptr);
    finished = true;
  };
  component.Start();
  component.Stop();
  for (int i = 0; i < 2000 && !finished; ++i) QThread::msleep(1);  // deliberately no event processing
  EXPECT_TRUE(finished);
  ASSERT_TRUE(waitUntil([&] { return !component.GetRuning(); }));
  EXPECT_EQ(calls, 0);
}

TEST(VornThread, DestroyingWhileRunningWaitsForTheProcedureWithoutOnTerminate) {
  auto component = std::make_unique<TVornThread>();
  std::atomic<bool> returned{false};
  std::atomic<int> synced{0};
  bool terminated = false;
  component->OnTerminate = [&](TVornThreadBase*, TVornExecuteThread*, void*&) { terminated = true; };
  component->OnExecute = [&](TVornThreadBase*, TVornExecuteThread* thread, void*&) {
    while (!thread->Terminated()) {
      thread->Synchronize([&](TVornThreadBase*) { ++synced; });
      QThread::msleep(1);
    }
    QThread::msleep(20);  // ends a little after the stop
    returned = true;
  };
  component->Start();
  ASSERT_TRUE(waitUntil([&] { return synced > 0; }));
  component.reset();
  EXPECT_TRUE(returned);
  EXPECT_FALSE(terminated);
}

TEST(VornThread, PriorityIsGivenToNewThreadsAndChangedAtOnceWhileRunning) {
  TVornThread component;
  EXPECT_EQ(component.GetPriority(), TThreadPriority::tpNormal);
  EXPECT_EQ(component.GetTimeInterval(), 100u);
  EXPECT_FALSE(component.UpdateEnabled());
  component.SetPriority(TThreadPriority::tpLower);
  component.OnExecute = loopUntilStopped;
  component.Start();
  ASSERT_TRUE(waitUntil([&] { return component.CurrentThread()->isRunning(); }));
  EXPECT_EQ(component.CurrentThread()->priority(), QThread::LowPriority);
  component.SetPriority(TThreadPriority::tpHigher);
  EXPECT_EQ(component.CurrentThread()->priority(), QThread::HighPriority);
  component.Stop();
  ASSERT_TRUE(waitUntil([&] { return !component.GetRuning(); }));
}

// --- groups ----------------------------------------------------------------------------------

struct GroupEvents {
  int starts = 0, ends = 0, threadStarts = 0, threadEnds = 0;
  void attach(TVornThreadGroup& g) {
    g.OnStart = [this](TVornThreadBase*, TVornExecuteThread*, void*&) { ++starts; };
    g.OnTerminate = [this](TVornThreadBase*, TVornExecuteThread*, void*&) { ++ends; };
    g.OnThreadStart = [this](TVornThreadBase*, TVornExecuteThread*, void*&) { ++threadStarts; };
    g.OnThreadTerminate = [this](TVornThreadBase*, TVornExecuteThread*, void*&) { ++threadEnds; };
  }
};

TEST(VornThreadGroup, FiresStartWithTheFirstMemberAndTerminateWithTheLast) {
  TVornThreadGroup group;
  GroupEvents events;
  events.attach(group);
  TVornThread a, b;
  std::atomic<bool> stopA{false};
  a.OnExecute = [&](TVornThreadBase*, TVornExecuteThread* t, void*&) {
    while (!t->Terminated() && !stopA) QThread::msleep(1);
  };
  b.OnExecute = loopUntilStopped;
  a.SetThreadGroup(&group);
  b.SetThreadGroup(&group);
  EXPECT_EQ(group.GetThreadItemsCount(), 2);
  EXPECT_EQ(group.GetThreads(0), &a);
  EXPECT_EQ(group.GetThreads(1), &b);

  group.Start();
  EXPECT_EQ(group.GetCountRuning(), 2);
  EXPECT_EQ(events.starts, 1);
  EXPECT_EQ(events.threadStarts, 2);

  stopA = true;
  ASSERT_TRUE(waitUntil([&] { return !a.GetRuning(); }));
  EXPECT_EQ(group.GetCountRuning(), 1);
  EXPECT_EQ(events.ends, 0);
  EXPECT_EQ(events.threadEnds, 1);

  group.Stop();
  ASSERT_TRUE(waitUntil([&] { return !b.GetRuning(); }));
  EXPECT_EQ(events.ends, 1);
  EXPECT_EQ(events.threadEnds, 2);
  EXPECT_FALSE(group.GetRuning());
}

TEST(VornThreadGroup, AHigherRunningPrioritySuppressesTheGroupUpdate) {
  TVornThreadGroup group;
  TVornThread high, low;
  high.UpdatePriority = 5;
  low.UpdatePriority = 2;
  high.OnExecute = loopUntilStopped;
  low.OnExecute = loopUntilStopped;
  high.SetThreadGroup(&group);
  low.SetThreadGroup(&group);
  int groupUpdates = 0, threadUpdates = 0;
  group.OnUpdate = [&](TVornThreadBase*, TVornExecuteThread*, int, void*&) { ++groupUpdates; };
  group.OnThreadUpdate = [&](TVornThreadBase*, TVornExecuteThread*, int, void*&) { ++threadUpdates; };
  group.Start();
  const struct {
    TVornThread* sender;
    int priority;
    bool reaches;
  } cases[] = {{&low, 2, false}, {&high, 5, true}, {&low, 6, true}};
  for (const auto& c : cases) {
    const int before = groupUpdates;
    void* data = nullptr;
    group.ThreadUpdate(c.sender, c.sender->CurrentThread(), 10, c.priority, data);
    EXPECT_EQ(groupUpdates - before, c.reaches ? 1 : 0) << c.priority;
  }
  EXPECT_EQ(threadUpdates, 3);
  group.Stop();
  ASSERT_TRUE(waitUntil([&] { return !group.GetRuning() && !high.GetRuning() && !low.GetRuning(); }));
}

TEST(VornThreadGroup, SubGroupsReportToTheirParentAndMembershipIsTwoSided) {
  TVornThreadGroup parent, child;
  GroupEvents parentEvents;
  parentEvents.attach(parent);
  TVornThread a, b;
  a.OnExecute = loopUntilStopped;
  b.OnExecute = loopUntilStopped;
  a.SetThreadGroup(&child);
  child.SetThreadGroup(&parent);
  parent.AddThread(&b);  // joining from the group's side sets the member's group too
  EXPECT_EQ(b.ThreadGroup(), &parent);
  EXPECT_EQ(parent.GetThreadItemsCount(), 2);
  EXPECT_EQ(parent.GetThreadsCount(), 2);
  EXPECT_EQ(parent.GetThreadItems(0), &child);

  a.Start();
  EXPECT_EQ(child.GetCountRuning(), 1);
  EXPECT_EQ(parent.GetCountRuning(), 1);
  EXPECT_EQ(parentEvents.starts, 1);

  // A running member that leaves takes its count along.
  a.SetThreadGroup(nullptr);
  EXPECT_EQ(child.GetCountRuning(), 0);
  EXPECT_EQ(parent.GetCountRuning(), 0);
  EXPECT_EQ(parent.GetThreadsCount(), 2) << "the parent's thread list is as it was when the sub-group joined";

  // Joining while running reports the start.
  a.SetThreadGroup(&child);
  EXPECT_EQ(parent.GetCountRuning(), 1);
  a.Stop();
  ASSERT_TRUE(waitUntil([&] { return !a.GetRuning(); }));
  EXPECT_EQ(parent.GetCountRuning(), 0);
  EXPECT_EQ(parentEvents.ends, 1);

  parent.RemoveThreadGroup(&child);
  EXPECT_EQ(child.ThreadGroup(), nullptr);
  EXPECT_EQ(parent.GetThreadItemsCount(), 1);
}

TEST(VornThreadGroup, DestroyingAGroupReleasesItsMembers) {
  TVornThread a;
  auto group = std::make_unique<TVornThreadGroup>();
  a.SetThreadGroup(group.get());
  group.reset();
  EXPECT_EQ(a.ThreadGroup(), nullptr);
  auto second = std::make_unique<TVornThreadGroup>();
  {
    TVornThread b;
    b.SetThreadGroup(second.get());
    EXPECT_EQ(second->GetThreadItemsCount(), 1);
  }
  EXPECT_EQ(second->GetThreadItemsCount(), 0) << "a destroyed member leaves its group";
}

}  // namespace
}  // namespace grx
