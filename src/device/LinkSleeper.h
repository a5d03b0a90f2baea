#pragma once
// Every fixed wait of the device worker goes through this interface, so tests (and the benchmark)
// can replace the protocol's real waits by a recorder that returns at once.
#include <atomic>

namespace grx {

class LinkSleeper {
 public:
  virtual ~LinkSleeper() = default;
  // Waits `ms` milliseconds; returns early once `*cancel` is true (the worker is being stopped),
  // so closing the window never waits out a long pause.
  virtual void sleepMs(int ms, const std::atomic<bool>* cancel) = 0;
};

// The real clock: sleeps in short slices so that a stop request is seen quickly.
class SystemSleeper final : public LinkSleeper {
 public:
  void sleepMs(int ms, const std::atomic<bool>* cancel) override;
};

// Returns at once; for tests and the benchmark of the program's own speed.
class NoSleeper final : public LinkSleeper {
 public:
  void sleepMs(int, const std::atomic<bool>*) override {}
};

}  // namespace grx
