#pragma once
// Serves a TesterCore on the bulk-pipe device nodes of one tester: <folder>/<device>/Pipe00 (host
// to tester) and Pipe01 (tester to host), both FIFOs. The tester keeps Pipe00 open for reading so
// the host's open succeeds, opens Pipe01 for writing when a session's first command arrives, and
// ends the session (closes Pipe01, reopens Pipe00) when the host closes Pipe00, so a late answer
// never reaches the next session. POSIX only; no Qt.
#include "TesterCore.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace grx::sim {

class PipeTester {
 public:
  PipeTester(TesterCore& core, std::string folder, std::string device = "tester0");
  ~PipeTester();  // stops the server thread and removes the nodes it created
  PipeTester(const PipeTester&) = delete;
  PipeTester& operator=(const PipeTester&) = delete;

  // Creates the device folder and the two FIFOs. False with `error` set when that fails.
  bool create(std::string* error = nullptr);
  // Serves on a thread of its own until stop() or destruction.
  void start();
  void stop();
  // Serves on the calling thread until `stopFlag` is set (the program's main loop).
  void serve(const std::atomic<bool>& stopFlag);
  // Removes the FIFOs and the device folder, so hosts no longer find this tester.
  void remove();

  std::string devicePath() const { return folder_ + "/" + device_; }
  // The core is used by the server thread under this lock; tests take it to look or change.
  std::mutex& coreMutex() { return mutex_; }
  int sessions() const { return sessions_.load(); }
  // Waits until the server holds Pipe00 open for reading (a host can open the tester).
  bool waitListening(int timeoutMs) const;
  // Sessions the tester has closed (the host closed its pipes, or the link dropped).
  int endedSessions() const { return endedSessions_.load(); }
  // Waits until more than `ended` sessions were closed and the tester listens again: a host that
  // opens the tester sooner may still meet the old session's pipes.
  bool waitNextSession(int ended, int timeoutMs) const;

 private:
  void endSession(int& in, int& out);

  TesterCore& core_;
  std::string folder_;
  std::string device_;
  std::mutex mutex_;
  std::atomic<bool> stop_{false};
  std::atomic<int> sessions_{0};
  std::atomic<bool> listening_{false};
  std::atomic<int> endedSessions_{0};
  std::thread thread_;
  bool created_ = false;
};

}  // namespace grx::sim
