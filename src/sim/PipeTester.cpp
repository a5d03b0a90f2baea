#include "PipeTester.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace grx::sim {
namespace {

bool makeFolder(const std::string& path) {
  std::string partial;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || (path[i] == '/' && i > 0)) {
      partial = path.substr(0, i);
      if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  return true;
}

bool makeFifo(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode);
  // Readable and writable for every user whatever the umask: the host may run as someone else.
  return ::mkfifo(path.c_str(), 0666) == 0 && ::chmod(path.c_str(), 0666) == 0;
}

bool writeAll(int fd, const std::uint8_t* p, std::size_t n) {
  while (n > 0) {
    const ssize_t r = ::write(fd, p, n);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    p += r;
    n -= std::size_t(r);
  }
  return true;
}

}  // namespace

PipeTester::PipeTester(TesterCore& core, std::string folder, std::string device)
    : core_(core), folder_(std::move(folder)), device_(std::move(device)) {
  std::signal(SIGPIPE, SIG_IGN);  // a host that goes away must end the session, not the tester
}

PipeTester::~PipeTester() {
  stop();
  if (created_) remove();
}

bool PipeTester::create(std::string* error) {
  const std::string dir = devicePath();
  if (!makeFolder(dir) || !makeFifo(dir + "/Pipe00") || !makeFifo(dir + "/Pipe01")) {
    if (error) *error = dir + ": " + std::strerror(errno);
    return false;
  }
  created_ = true;
  return true;
}

void PipeTester::remove() {
  const std::string dir = devicePath();
  ::unlink((dir + "/Pipe00").c_str());
  ::unlink((dir + "/Pipe01").c_str());
  ::rmdir(dir.c_str());
  created_ = false;
}

void PipeTester::start() {
  if (thread_.joinable()) return;
  stop_ = false;
  thread_ = std::thread([this] { serve(stop_); });
}

void PipeTester::stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

bool PipeTester::waitListening(int timeoutMs) const {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!listening_) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

bool PipeTester::waitNextSession(int ended, int timeoutMs) const {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (endedSessions_ <= ended || !listening_) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void PipeTester::endSession(int& in, int& out) {
  if (out >= 0) ::close(out);
  if (in >= 0) {
    ::close(in);
    listening_ = false;
    ++endedSessions_;
  }
  out = in = -1;
  std::lock_guard<std::mutex> guard(mutex_);
  core_.resetSession();
}

void PipeTester::serve(const std::atomic<bool>& stopFlag) {
  const std::string pipe00 = devicePath() + "/Pipe00";
  const std::string pipe01 = devicePath() + "/Pipe01";
  int in = -1;
  int out = -1;
  std::vector<std::uint8_t> buffer(4096);
  std::vector<std::uint8_t> answer;
  while (!stopFlag) {
    if (in < 0) {
      in = ::open(pipe00.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
      if (in < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        continue;
      }
      listening_ = true;
    }
    pollfd p{in, POLLIN, 0};
    if (::poll(&p, 1, 20) <= 0) continue;
    if (p.revents & POLLIN) {
      const ssize_t n = ::read(in, buffer.data(), buffer.size());
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (n <= 0) {  // the host closed Pipe00: the session is over
        endSession(in, out);
        continue;
      }
      TesterCore::Event event;
      int slowMs = 0;
      {
        std::lock_guard<std::mutex> guard(mutex_);
        event = core_.receive(buffer.data(), std::size_t(n));
        answer.resize(core_.pendingOutput());
        core_.takeOutput(answer.data(), answer.size());
        slowMs = core_.faults().slowMs;
      }
      if (event == TesterCore::Event::Drop) {
        endSession(in, out);
        continue;
      }
      if (answer.empty()) continue;
      if (out < 0) {
        // The host holds Pipe01 open for reading during its session; without it there is no one
        // to answer.
        out = ::open(pipe01.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (out < 0) continue;
        ::fcntl(out, F_SETFL, ::fcntl(out, F_GETFL) & ~O_NONBLOCK);
        ++sessions_;
      }
      if (slowMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(slowMs));
      if (!writeAll(out, answer.data(), answer.size())) endSession(in, out);
    } else if (p.revents & (POLLHUP | POLLERR)) {
      endSession(in, out);
    }
  }
  endSession(in, out);
}

}  // namespace grx::sim
