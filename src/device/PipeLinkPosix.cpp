// The bulk-pipe transport on Linux: device nodes below a folder (see PipeLink.h).
#ifndef _WIN32
#include "PipeLink.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace grx {
namespace {

constexpr int kInvalid = -1;

std::string pipeFolder() {
  const char* env = std::getenv("GRX1_PIPE_DIR");
  return env && *env ? std::string(env) : std::string("/run/grx1");
}

// Opens without waiting for the other side, then makes the descriptor blocking again: reads are
// bounded by poll, and a host-to-tester open must fail at once when no tester is there.
int openNode(const std::string& path, int mode) {
  const int fd = ::open(path.c_str(), mode | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return kInvalid;
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
    const int e = errno;
    ::close(fd);
    errno = e;
    return kInvalid;
  }
  return fd;
}

// One waiting chunk: true when the descriptor is ready within the time-out. A FIFO whose other
// side has been closed reports a hang-up at once, but the tester opens it again for its next
// answer; so a hang-up counts as "nothing yet" until the time-out, and an answer that comes late
// is still taken by the read it belongs to rather than by the next one. The wait looks at the
// cancel flag every 50 ms: a worker being stopped does not wait out a silent tester.
bool waitReady(int fd, short events, int timeoutMs, const std::atomic<bool>* cancel) {
  using Clock = std::chrono::steady_clock;
  constexpr long long kSliceMs = 50;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (cancel && cancel->load(std::memory_order_acquire)) return false;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd p{fd, events, 0};
    const int r = ::poll(&p, 1, int(std::clamp<long long>(left, 0, kSliceMs)));
    if (r < 0 && errno == EINTR) continue;
    if (r == 0 && left > kSliceMs) continue;  // a slice without news; the time-out is not over yet
    if (r <= 0) return false;
    if (p.revents & events) return true;
    if (p.revents & (POLLERR | POLLNVAL) || left <= 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(left, 2)));
  }
}

// True when the open descriptor is still the node at `path` (same device and inode).
bool sameNode(int fd, const std::string& path) {
  struct stat opened {}, listed {};
  return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &listed) == 0 && opened.st_dev == listed.st_dev &&
         opened.st_ino == listed.st_ino;
}

}  // namespace

TPipeLink::TPipeLink(int chunkTimeoutMs)
    : readHandle_(kInvalid), writeHandle_(kInvalid), chunkTimeoutMs_(chunkTimeoutMs) {
  // A tester that goes away must give a failed write, not end the program.
  std::signal(SIGPIPE, SIG_IGN);
}

TPipeLink::~TPipeLink() { Close(); }

int TPipeLink::FindDevices(std::string& list) {
  const std::string folder = pipeFolder();
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  std::vector<std::string> names;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (::stat((folder + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());  // byte order, like the driver's enumeration order
  for (const std::string& name : names) list += folder + "/" + name + "\n";
  return int(names.size());
}

std::uint16_t TPipeLink::Open(const std::string& path) {
  if (open_) {
    if (path == path_ && sameNode(readHandle_, path + "/Pipe01") && sameNode(writeHandle_, path + "/Pipe00")) return 0;
    Close();
  }
  readHandle_ = openNode(path + "/Pipe01", O_RDONLY);
  int error = readHandle_ == kInvalid ? errno : 0;
  if (!error) {
    writeHandle_ = openNode(path + "/Pipe00", O_WRONLY);  // ENXIO when no tester reads it
    if (writeHandle_ == kInvalid) error = errno;
  }
  if (error) {
    Close();
    const std::uint16_t code = std::uint16_t(error & 0xFFFF);
    return code ? code : 0xFFFF;  // never 0, which would mean "open"
  }
  open_ = true;
  path_ = path;
  return 0;
}

void TPipeLink::Close() {
  if (readHandle_ != kInvalid) ::close(readHandle_);
  if (writeHandle_ != kInvalid) ::close(writeHandle_);
  readHandle_ = kInvalid;
  writeHandle_ = kInvalid;
  open_ = false;
  path_.clear();
}

std::uint16_t TPipeLink::Read(std::uint8_t* buffer, std::uint32_t n) {
  if (!open_ || readHandle_ == kInvalid) return kPipeNotOpen;
  if (!buffer || n == 0) return kPipeBadArgument;
  std::uint32_t got = 0;
  while (got < n) {
    if (!waitReady(readHandle_, POLLIN, chunkTimeoutMs_, cancel_)) return kPipeFailed;
    const ssize_t r = ::read(readHandle_, buffer + got, n - got);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return kPipeFailed;
    got += std::uint32_t(r);
  }
  return kPipeDone;
}

std::uint16_t TPipeLink::Write(const std::uint8_t* buffer, std::uint32_t n) {
  if (!open_ || writeHandle_ == kInvalid) return kPipeNotOpen;
  if (!buffer || n == 0) return kPipeBadArgument;
  std::uint32_t sent = 0;
  while (sent < n) {
    if (!waitReady(writeHandle_, POLLOUT, chunkTimeoutMs_, cancel_)) return kPipeFailed;
    const ssize_t r = ::write(writeHandle_, buffer + sent, n - sent);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return kPipeFailed;  // EPIPE: no tester reads any more
    sent += std::uint32_t(r);
  }
  return kPipeDone;
}

}  // namespace grx
#endif
