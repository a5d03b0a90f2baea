#include "LibUsbLink.h"

// Types and signatures only; the library itself is loaded at run time.
#ifdef _WIN32
#include "LibUsbWin32.h"
#else
#include <usb.h>
#endif

#include <cerrno>
#include <cstdlib>

namespace grx {
namespace {

// Indices of the entry points this transport calls.
enum Entry {
  eBulkRead = 0,
  eBulkWrite = 2,
  eClaimInterface = 4,
  eClose = 6,
  eFindBusses = 9,
  eFindDevices = 10,
  eGetBusses = 12,
  eInit = 18,
  eOpen = 28,
  eSetConfiguration = 35,
};

const std::array<const char*, kLibUsbEntryPoints> kNames = {
    "usb_bulk_read", "usb_bulk_setup_async", "usb_bulk_write", "usb_cancel_async", "usb_claim_interface",
    "usb_clear_halt", "usb_close", "usb_control_msg", "usb_device", "usb_find_busses", "usb_find_devices",
    "usb_free_async", "usb_get_busses", "usb_get_descriptor", "usb_get_descriptor_by_endpoint",
    "usb_get_string", "usb_get_string_simple", "usb_get_version", "usb_init", "usb_install_driver_np",
    "usb_install_driver_np_rundll", "usb_install_needs_restart_np", "usb_install_service_np",
    "usb_install_service_np_rundll", "usb_interrupt_read", "usb_interrupt_setup_async", "usb_interrupt_write",
    "usb_isochronous_setup_async", "usb_open", "usb_reap_async", "usb_reap_async_nocancel",
    "usb_release_interface", "usb_reset", "usb_resetep", "usb_set_altinterface", "usb_set_configuration",
    "usb_set_debug", "usb_strerror", "usb_submit_async", "usb_touch_inf_file_np",
    "usb_touch_inf_file_np_rundll", "usb_uninstall_service_np", "usb_uninstall_service_np_rundll"};

// The asynchronous transfers and the driver installation helpers exist only in the Windows
// library; the Linux libusb 0.1 lacks them. Every entry point is required on Windows; elsewhere
// these are resolved when present, so the system's library can be used.
#ifndef _WIN32
bool windowsOnly(int index) {
  switch (index) {
    case 1: case 3: case 11: case 17: case 19: case 20: case 21: case 22: case 23:
    case 25: case 27: case 29: case 30: case 38: case 39: case 40: case 41: case 42:
      return true;
    default:
      return false;
  }
}
#endif

bool required(int index) {
#ifdef _WIN32
  (void)index;
  return true;
#else
  return !windowsOnly(index);
#endif
}

}  // namespace

TLibUsbLink::TLibUsbLink() = default;

TLibUsbLink::~TLibUsbLink() { Unload(); }

const std::array<const char*, kLibUsbEntryPoints>& TLibUsbLink::entryPointNames() { return kNames; }

QString TLibUsbLink::libraryFileName() {
  const QString env = qEnvironmentVariable("GRX1_LIBUSB");
  if (!env.isEmpty()) return env;
#ifdef _WIN32
  return QStringLiteral("libusb0.dll");
#else
  return QStringLiteral("libusb-0.1.so.4");
#endif
}

template <typename Fn>
Fn TLibUsbLink::entry(int index) const {
  return reinterpret_cast<Fn>(entries_[std::size_t(index)]);
}

void TLibUsbLink::setLinkMessage(std::function<void(const QString&)> showLinkMessage) {
  showLinkMessage_ = std::move(showLinkMessage);
}

void TLibUsbLink::showLinkMessage(const QString& text) {
  if (showLinkMessage_) showLinkMessage_(text);
}

int TLibUsbLink::Load() {
  if (loaded_) return 0;
  library_.setFileName(libraryFileName());
  if (!library_.load()) return 1;
  for (int i = 0; i < kLibUsbEntryPoints; ++i) {
    entries_[std::size_t(i)] = library_.resolve(kNames[std::size_t(i)]);
    if (!entries_[std::size_t(i)] && required(i)) {
      entries_.fill(nullptr);
      library_.unload();
      return 2;
    }
  }
  loaded_ = true;
  entry<decltype(&::usb_init)>(eInit)();
  return 0;
}

int TLibUsbLink::OpenDevice() {
  if (!loaded_) return 1;
  const int busChanges = entry<decltype(&::usb_find_busses)>(eFindBusses)();
  const int deviceChanges = entry<decltype(&::usb_find_devices)>(eFindDevices)();
  struct usb_device* tester = nullptr;
  for (usb_bus* bus = entry<decltype(&::usb_get_busses)>(eGetBusses)(); bus && !tester; bus = bus->next)
    for (struct usb_device* dev = bus->devices; dev; dev = dev->next)
      if (dev->descriptor.idVendor == kTesterVendor && dev->descriptor.idProduct == kTesterProduct) {
        tester = dev;
        break;
      }

  if (!tester) {
    CloseDevice();  // a handle of a tester that has gone is of no further use
    showLinkMessage(QString::fromUtf8(kTesterNotOnBus));
    return 1;
  }
  if (busChanges == 0 && deviceChanges == 0 && device_) return 0;

  // Something changed on the bus: a held handle may belong to a tester that was unplugged, so
  // it is closed rather than leaked before the tester is opened again.
  CloseDevice();
  device_ = entry<decltype(&::usb_open)>(eOpen)(tester);
  if (!device_) {
    showLinkMessage(ErrorText(-ENODEV));
    return 0;  // counts as opened: the first transfer fails and the worker's error path follows
  }
  int r = entry<decltype(&::usb_set_configuration)>(eSetConfiguration)(device_, kUsbConfiguration);
  if (r < 0) showLinkMessage(ErrorText(r));
  r = entry<decltype(&::usb_claim_interface)>(eClaimInterface)(device_, kUsbInterface);
  if (r < 0) showLinkMessage(ErrorText(r));
  return 0;
}

int TLibUsbLink::Write(const std::uint8_t* buffer, int n) {
  if (!loaded_ || !device_) return -ENODEV;
  return entry<decltype(&::usb_bulk_write)>(eBulkWrite)(device_, kUsbEndpointOut,
                                                        reinterpret_cast<const char*>(buffer), n, kUsbTimeoutMs);
}

int TLibUsbLink::Read(std::uint8_t* buffer, int n) {
  if (!loaded_ || !device_) return -ENODEV;
  return entry<decltype(&::usb_bulk_read)>(eBulkRead)(device_, kUsbEndpointIn, reinterpret_cast<char*>(buffer), n,
                                                      kUsbTimeoutMs);
}

void TLibUsbLink::CloseDevice() {
  if (!device_) return;
  // The claimed interface is not released first: closing the handle ends the claim anyway.
  if (loaded_) entry<decltype(&::usb_close)>(eClose)(device_);
  device_ = nullptr;
}

void TLibUsbLink::Unload() {
  CloseDevice();
  entries_.fill(nullptr);
  if (loaded_) library_.unload();
  loaded_ = false;
}

}  // namespace grx
