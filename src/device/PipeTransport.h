#pragma once
// The bulk-pipe driver transport as the device worker sees it. Free of Qt so that the Windows
// variant compiles on its own with a cross compiler.
#include <atomic>
#include <cstdint>
#include <string>

namespace grx {

// Result codes of Read and Write.
inline constexpr std::uint16_t kPipeDone = 0;
inline constexpr std::uint16_t kPipeNotOpen = 0x8000;
inline constexpr std::uint16_t kPipeBadArgument = 0x8080;
inline constexpr std::uint16_t kPipeFailed = 0x8010;

class PipeTransport {
 public:
  virtual ~PipeTransport() = default;
  // Appends the device path of every present tester, each followed by '\n'; returns their number.
  virtual int FindDevices(std::string& list) = 0;
  // 0 = both pipes open (also when they already were), else the system's error number (low 16 bits).
  virtual std::uint16_t Open(const std::string& path) = 0;
  virtual void Close() = 0;
  // Exactly n bytes, or a non-zero code.
  virtual std::uint16_t Read(std::uint8_t* buffer, std::uint32_t n) = 0;
  virtual std::uint16_t Write(const std::uint8_t* buffer, std::uint32_t n) = 0;
  // A flag that ends a wait of Read or Write early (as a failure) once it is true: the worker's
  // stop, so that a tester that does not answer does not hold the program's end. None: no flag.
  virtual void setCancel(const std::atomic<bool>* /*flag*/) {}
};

// The path between the last two line feeds of a FindDevices list (or from its start).
inline std::string lastDevicePath(const std::string& list) {
  std::string::size_type end = list.size();
  if (end > 0 && list[end - 1] == '\n') --end;
  const std::string::size_type nl = end == 0 ? std::string::npos : list.rfind('\n', end - 1);
  const std::string::size_type begin = nl == std::string::npos ? 0 : nl + 1;
  return list.substr(begin, end - begin);
}

}  // namespace grx
