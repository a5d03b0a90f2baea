#pragma once
// The user-interface side of the link handshake. A requester posts a code only when the link is
// idle, then waits while still processing window events, so the
// worker's synchronised window calls run during the wait; one that gives up withdraws its code
// only if the state still holds it.
#include "LinkState.h"

#include <functional>

namespace grx {

// How a requester waits: the program processes events in short slices; tests step the worker.
class UiWaiter {
 public:
  virtual ~UiWaiter() = default;
  virtual void waitMs(int ms) = 0;
};

// Processes events and sleeps a little at a time until `ms` have passed.
class EventLoopWaiter final : public UiWaiter {
 public:
  void waitMs(int ms) override;
};

enum class RequestResult {
  NotPosted,  // the link was busy: nothing was done
  Done,       // the worker answered within the wait
  TimedOut,   // the wait ran out (the request was withdrawn if it was still posted)
};

// "Read from tester": only from lsIdle, clears DataReceived and posts lsConnect. True when posted.
bool AGaugeRead(LinkShared& link);

// Reads a name block: up to 20 polls of 100 ms. Unless NotPosted, `names` receives the block as
// it stands afterwards (also after a time-out, when it holds the previous content). `giveUp`, when
// given, ends the wait early (withdrawn, TimedOut) once it returns true.
RequestResult readNamesFromTester(LinkShared& link, NameList list, UiWaiter& waiter, NameBlock& names,
                                  const std::function<bool()>& giveUp = {});

// Writes a name block: stores `names`, posts, up to 50 polls of 100 ms (`giveUp` as above). The
// caller also checks its list's names-empty flag before calling.
RequestResult writeNamesToTester(LinkShared& link, NameList list, const NameBlock& names, UiWaiter& waiter,
                                 const std::function<bool()>& giveUp = {});

// Screen image. Posted only from lsIdle, like every other request: posted during the start-up read
// (or the search before it) it would cut that read off and read record bytes as a picture. Posting
// empties the shared image first, so a withdrawn request shows the empty frame. True when posted.
bool postScreenRequest(LinkShared& link);
// Waits while the state is lsReadScreen; no time limit, but the wait ends when `giveUp` returns
// true (the window is closing, the command timed out). True once the state has left lsReadScreen
// (the worker read the image, or its error path restarted the search).
bool waitForScreen(LinkShared& link, UiWaiter& waiter, const std::function<bool()>& giveUp = {});
// The whole request: waits until the link is idle, posts, then waits as waitForScreen does.
bool requestScreen(LinkShared& link, UiWaiter& waiter, const std::function<bool()>& giveUp = {});
// Closing the screen window: up to 99 polls of 10 ms, then withdraws. True when it withdrew.
bool withdrawScreenRequest(LinkShared& link, UiWaiter& waiter);

}  // namespace grx
