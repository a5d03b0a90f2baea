#pragma once
// The libusb 0.1 transport. The library is loaded at run time, so the program also runs where it
// is missing: $GRX1_LIBUSB names the file when set, else libusb-0.1.so.4 (Linux) or libusb0.dll
// (Windows). The tester is 03EB:0120; configuration 1, interface 0, bulk endpoints 0x01 (out) and
// 0x82 (in), 500 ms per transfer.
#include "UsbTransport.h"

#include <QLibrary>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

struct usb_dev_handle;

namespace grx {

inline constexpr std::uint16_t kTesterVendor = 0x03EB;
inline constexpr std::uint16_t kTesterProduct = 0x0120;
inline constexpr int kUsbConfiguration = 1;
inline constexpr int kUsbInterface = 0;
inline constexpr int kUsbEndpointOut = 0x01;
inline constexpr int kUsbEndpointIn = 0x82;
inline constexpr int kUsbTimeoutMs = 500;
inline constexpr int kLibUsbEntryPoints = 43;

// The message shown when no tester is on the bus (it exists in Russian only).
inline constexpr const char* kTesterNotOnBus =
    "Прибор не подключен к шине USB или выключен. Включите прибор, подключите его к шине USB и "
    "перезапустите программу.";

class TLibUsbLink final : public UsbTransport {
 public:
  TLibUsbLink();
  ~TLibUsbLink() override;
  TLibUsbLink(const TLibUsbLink&) = delete;
  TLibUsbLink& operator=(const TLibUsbLink&) = delete;

  int Load() override;
  int OpenDevice() override;
  int Write(const std::uint8_t* buffer, int n) override;
  int Read(std::uint8_t* buffer, int n) override;
  void CloseDevice() override;
  void Unload() override;
  void setLinkMessage(std::function<void(const QString&)> showLinkMessage) override;

  bool isLoaded() const { return loaded_; }
  bool hasDevice() const { return device_ != nullptr; }

  // The entry point names in the order they are resolved.
  static const std::array<const char*, kLibUsbEntryPoints>& entryPointNames();
  // The library file that Load uses.
  static QString libraryFileName();

 private:
  void showLinkMessage(const QString& text);
  template <typename Fn>
  Fn entry(int index) const;

  QLibrary library_;
  bool loaded_ = false;
  usb_dev_handle* device_ = nullptr;
  std::array<QFunctionPointer, kLibUsbEntryPoints> entries_{};
  std::function<void(const QString&)> showLinkMessage_;
};

// The message for a negative libusb error number in the current language; "" for 0.
QString ErrorText(int code);

}  // namespace grx
