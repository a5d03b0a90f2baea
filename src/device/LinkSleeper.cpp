#include "LinkSleeper.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace grx {

void SystemSleeper::sleepMs(int ms, const std::atomic<bool>* cancel) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    if (cancel && cancel->load(std::memory_order_acquire)) return;
    const Clock::time_point now = Clock::now();
    if (now >= end) return;
    std::this_thread::sleep_for(std::min<Clock::duration>(end - now, std::chrono::milliseconds(10)));
  }
}

}  // namespace grx
