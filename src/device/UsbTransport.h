#pragma once
// The libusb transport as the device worker sees it.
#include <QString>

#include <functional>

namespace grx {

class UsbTransport {
 public:
  virtual ~UsbTransport() = default;
  // 0 = ready (also when already loaded), 1 = library file missing, 2 = an entry point missing.
  virtual int Load() = 0;
  // 0 = open, 1 = no tester on the bus.
  virtual int OpenDevice() = 0;
  // Bytes moved (0 or more), or a negative libusb error number.
  virtual int Write(const std::uint8_t* buffer, int n) = 0;
  virtual int Read(std::uint8_t* buffer, int n) = 0;
  virtual void CloseDevice() = 0;
  virtual void Unload() = 0;
  // Where the transport's own messages go (status panel 0, progress bar hidden).
  virtual void setLinkMessage(std::function<void(const QString&)> showLinkMessage) = 0;
};

}  // namespace grx
