#include "SilencedStderr.h"

#include <cstdio>

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace grx {
namespace {

#ifdef _WIN32
int duplicate(int fd) { return ::_dup(fd); }
int duplicateTo(int fd, int target) { return ::_dup2(fd, target); }
int openNull() { return ::_open("NUL", _O_WRONLY); }
int closeFd(int fd) { return ::_close(fd); }
#else
int duplicate(int fd) { return ::dup(fd); }
int duplicateTo(int fd, int target) { return ::dup2(fd, target); }
int openNull() { return ::open("/dev/null", O_WRONLY | O_CLOEXEC); }
int closeFd(int fd) { return ::close(fd); }
#endif

constexpr int kStderr = 2;

}  // namespace

SilencedStderr::SilencedStderr() {
  std::fflush(stderr);
  saved_ = duplicate(kStderr);
  const int null = openNull();
  if (saved_ >= 0 && null >= 0) duplicateTo(null, kStderr);
  if (null >= 0) closeFd(null);
}

SilencedStderr::~SilencedStderr() {
  std::fflush(stderr);
  if (saved_ < 0) return;
  duplicateTo(saved_, kStderr);
  closeFd(saved_);
}

}  // namespace grx
