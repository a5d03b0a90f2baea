#pragma once
// The bulk-pipe driver transport: the tester's two bulk pipes as files below its device path,
// "Pipe00" host to tester and "Pipe01" tester to host.
//   Windows: testers are the present device interfaces of the driver's class (SetupAPI); with
//            $GRX1_PIPE_DIR set, its sub-folders instead (the simulated tester, seen through Wine).
//   Linux:   testers are the sub-folders of $GRX1_PIPE_DIR (else /run/grx1); the pipes are FIFOs or
//            character devices, and every read waits at most `chunkTimeoutMs` for each chunk.
// No Qt here, so the Windows variant can be compiled alone by a cross compiler.
#include "PipeTransport.h"

#include <cstdint>
#include <string>

namespace grx {

class TPipeLink final : public PipeTransport {
 public:
#ifdef _WIN32
  using Handle = void*;
#else
  using Handle = int;
  explicit TPipeLink(int chunkTimeoutMs = 500);
#endif
#ifdef _WIN32
  TPipeLink();
#endif
  ~TPipeLink() override;
  TPipeLink(const TPipeLink&) = delete;
  TPipeLink& operator=(const TPipeLink&) = delete;

  int FindDevices(std::string& list) override;
  // Open pipes are kept (the error path leaves them open) while they still belong to the tester
  // listed: the same device path and, on Linux, the same two nodes. A tester that was unplugged
  // and plugged in again gets new pipes, and the stale ones are closed first.
  std::uint16_t Open(const std::string& path) override;
  void Close() override;
  std::uint16_t Read(std::uint8_t* buffer, std::uint32_t n) override;
  std::uint16_t Write(const std::uint8_t* buffer, std::uint32_t n) override;
#ifndef _WIN32
  void setCancel(const std::atomic<bool>* flag) override { cancel_ = flag; }
#endif

  bool isOpen() const { return open_; }

 private:
  Handle readHandle_;
  Handle writeHandle_;
  bool open_ = false;
  std::string path_;  // the device path the pipes were opened below
#ifndef _WIN32
  int chunkTimeoutMs_;
  const std::atomic<bool>* cancel_ = nullptr;
#endif
};

}  // namespace grx
