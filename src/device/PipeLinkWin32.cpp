// The bulk-pipe transport on Windows: the driver publishes every connected tester as a device
// interface of its class; the two pipes are files below the interface's device path.
#ifdef _WIN32
#include "PipeLink.h"

#include <windows.h>
#include <setupapi.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace grx {
namespace {

// The driver's device interface class {E6EF7DCD-1795-4A08-9FBF-AA78423C26F0}.
const GUID kTesterInterfaceClass = {0xE6EF7DCD, 0x1795, 0x4A08, {0x9F, 0xBF, 0xAA, 0x78, 0x42, 0x3C, 0x26, 0xF0}};

// $GRX1_PIPE_DIR, when set, stands in for the driver: its sub-folders are the testers, in ascending
// byte order of their names, as on Linux. The simulated tester serves its pipes there, and Wine
// shows a Linux folder through its drive mapping, so a read can be tried without a driver.
int listPipeFolder(const std::string& folder, std::string& list) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry{};
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) list += folder + "\\" + name + "\n";
  return int(names.size());
}

}  // namespace

TPipeLink::TPipeLink() : readHandle_(INVALID_HANDLE_VALUE), writeHandle_(INVALID_HANDLE_VALUE) {}

TPipeLink::~TPipeLink() { Close(); }

int TPipeLink::FindDevices(std::string& list) {
  if (const char* folder = std::getenv("GRX1_PIPE_DIR"); folder && *folder) return listPipeFolder(folder, list);
  HDEVINFO set = SetupDiGetClassDevsA(&kTesterInterfaceClass, nullptr, nullptr,
                                      DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  for (DWORD index = 0;; ++index) {
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof(iface);
    if (!SetupDiEnumDeviceInterfaces(set, nullptr, &kTesterInterfaceClass, index, &iface)) break;
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailA(set, &iface, nullptr, 0, &size, nullptr);
    std::string path;
    if (size >= sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
      std::vector<unsigned char> storage(size);
      auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
      detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);  // the fixed part only
      if (SetupDiGetDeviceInterfaceDetailA(set, &iface, detail, size, nullptr, nullptr)) path = detail->DevicePath;
    }
    list += path;
    list += '\n';
    ++count;
  }
  SetupDiDestroyDeviceInfoList(set);
  return count;
}

std::uint16_t TPipeLink::Open(const std::string& path) {
  if (open_) {
    if (path == path_) return 0;
    Close();  // another tester, or the same one plugged in again under a new path
  }
  // The error number is taken right after the open that failed: a later call would overwrite it,
  // and a failed Pipe01 must never come back as 0 ("open") with the transport closed.
  const auto failed = [this]() -> std::uint16_t {
    const DWORD error = GetLastError();
    Close();
    const std::uint16_t code = std::uint16_t(error & 0xFFFF);
    return code ? code : 0xFFFF;
  };
  readHandle_ = CreateFileA((path + "\\Pipe01").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (readHandle_ == INVALID_HANDLE_VALUE) return failed();
  writeHandle_ = CreateFileA((path + "\\Pipe00").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                             nullptr);
  if (writeHandle_ == INVALID_HANDLE_VALUE) return failed();
  open_ = true;
  path_ = path;
  return 0;
}

void TPipeLink::Close() {
  if (readHandle_ != INVALID_HANDLE_VALUE) CloseHandle(readHandle_);
  if (writeHandle_ != INVALID_HANDLE_VALUE) CloseHandle(writeHandle_);
  readHandle_ = INVALID_HANDLE_VALUE;
  writeHandle_ = INVALID_HANDLE_VALUE;
  open_ = false;
  path_.clear();
}

std::uint16_t TPipeLink::Read(std::uint8_t* buffer, std::uint32_t n) {
  if (!open_ || readHandle_ == INVALID_HANDLE_VALUE) return kPipeNotOpen;
  if (!buffer || n == 0) return kPipeBadArgument;
  std::uint32_t got = 0;
  while (got < n) {
    DWORD r = 0;
    if (!ReadFile(readHandle_, buffer + got, n - got, &r, nullptr)) return kPipeFailed;
    if (r == 0) return kPipeFailed;
    got += r;
  }
  return kPipeDone;
}

std::uint16_t TPipeLink::Write(const std::uint8_t* buffer, std::uint32_t n) {
  if (!open_ || writeHandle_ == INVALID_HANDLE_VALUE) return kPipeNotOpen;
  if (!buffer || n == 0) return kPipeBadArgument;
  DWORD written = 0;  // not compared: the driver takes the whole block or fails
  return WriteFile(writeHandle_, buffer, n, &written, nullptr) ? kPipeDone : kPipeFailed;
}

}  // namespace grx
#endif
