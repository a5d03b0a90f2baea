#pragma once
// Waits for something another thread brings about, handling the user-interface thread's events
// meanwhile (the worker's synchronised calls run there).
#include <functional>

namespace grx::test {

// True once `condition` holds; false when `timeoutMs` passed first.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

}  // namespace grx::test
