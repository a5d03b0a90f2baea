// A test double of the libusb 0.1 library: the same C entry points, a bus of simulated devices
// that answer through the tester core, and a log of what the caller did. Loaded at run time by the
// real libusb transport, exactly like the system's library.
#include "TesterCore.h"
#include "UsbDoubleControl.h"

#include <usb.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#define GRX1_EXPORT extern "C" __attribute__((visibility("default")))

struct usb_dev_handle {
  int device;
};

namespace grx::sim {
namespace {

struct Device {
  struct usb_device dev {};
  int bus = 0;
  TesterCore core;
  bool dropped = false;  // the tester dropped the link: transfers fail until it is opened again
};

class UsbDouble final : public UsbDoubleControl {
 public:
  UsbDouble() { reset(); }

  void reset() override {
    removeAllDevices();
    setConfigurationResult = claimInterfaceResult = failWrites = failReads = 0;
    calls.clear();
    writeSizes.clear();
    readSizes.clear();
    openHandles = 0;
    busesReported_ = false;
    addDevice(0, 0x03EB, 0x0120);
  }

  TesterCore& addDevice(int bus, std::uint16_t vendor, std::uint16_t product) override {
    auto d = std::make_unique<Device>();
    d->bus = bus == 1 ? 1 : 0;
    d->dev.descriptor.idVendor = vendor;
    d->dev.descriptor.idProduct = product;
    std::snprintf(d->dev.filename, sizeof d->dev.filename, "%03d", int(devices_.size()) + 1);
    devices_.push_back(std::move(d));
    relink();
    deviceChanges_ = true;
    return devices_.back()->core;
  }

  void removeAllDevices() override {
    devices_.clear();
    relink();
    deviceChanges_ = true;
  }

  TesterCore& device(int index) override { return devices_.at(std::size_t(index))->core; }
  void markBusChanged() override { deviceChanges_ = true; }

  int findBusses() {
    if (busesReported_) return 0;
    busesReported_ = true;
    return 2;
  }
  int findDevices() {
    const bool changed = deviceChanges_;
    deviceChanges_ = false;
    return changed ? int(devices_.size()) + 1 : 0;
  }
  usb_bus* busses() { return &buses_[0]; }

  Device* deviceOf(const struct usb_device* dev) {
    for (auto& d : devices_)
      if (&d->dev == dev) return d.get();
    return nullptr;
  }
  int indexOf(const struct usb_device* dev) const {
    for (std::size_t i = 0; i < devices_.size(); ++i)
      if (&devices_[i]->dev == dev) return int(i);
    return -1;
  }
  Device* deviceAt(int index) {
    return index >= 0 && std::size_t(index) < devices_.size() ? devices_[std::size_t(index)].get() : nullptr;
  }

 private:
  // Two buses, each with its devices in the order added.
  void relink() {
    for (int b = 0; b < 2; ++b) {
      usb_bus& bus = buses_[b];
      bus.next = b == 0 ? &buses_[1] : nullptr;
      bus.prev = b == 1 ? &buses_[0] : nullptr;
      std::snprintf(bus.dirname, sizeof bus.dirname, "%03d", b + 1);
      bus.devices = nullptr;
      struct usb_device* last = nullptr;
      for (auto& d : devices_) {
        if (d->bus != b) continue;
        d->dev.bus = &bus;
        d->dev.prev = last;
        d->dev.next = nullptr;
        if (last) last->next = &d->dev;
        else bus.devices = &d->dev;
        last = &d->dev;
      }
    }
  }

  usb_bus buses_[2]{};
  std::vector<std::unique_ptr<Device>> devices_;
  bool busesReported_ = false;
  bool deviceChanges_ = true;
};

UsbDouble& state() {
  static UsbDouble s;
  return s;
}

// Counts one use of a limited failure (-1: unlimited).
bool takeFailure(int& times) {
  if (times == 0) return false;
  if (times > 0) --times;
  return true;
}

char gError[] = "grx1 libusb double";

}  // namespace
}  // namespace grx::sim

using grx::sim::state;

GRX1_EXPORT grx::sim::UsbDoubleControl* grx1_usbdouble_control() { return &state(); }

// --- the entry points the transport uses -------------------------------------------------------

GRX1_EXPORT void usb_init(void) { state().calls.push_back("usb_init"); }
GRX1_EXPORT int usb_find_busses(void) { return state().findBusses(); }
GRX1_EXPORT int usb_find_devices(void) { return state().findDevices(); }
GRX1_EXPORT struct usb_bus* usb_get_busses(void) { return state().busses(); }

GRX1_EXPORT usb_dev_handle* usb_open(struct usb_device* dev) {
  const int index = state().indexOf(dev);
  state().calls.push_back("usb_open " + std::to_string(index));
  if (index < 0) return nullptr;
  state().deviceAt(index)->dropped = false;
  ++state().openHandles;
  return new usb_dev_handle{index};
}

GRX1_EXPORT int usb_close(usb_dev_handle* dev) {
  state().calls.push_back("usb_close");
  if (!dev) return -EINVAL;
  --state().openHandles;
  delete dev;
  return 0;
}

GRX1_EXPORT int usb_set_configuration(usb_dev_handle*, int configuration) {
  state().calls.push_back("usb_set_configuration " + std::to_string(configuration));
  return state().setConfigurationResult;
}

GRX1_EXPORT int usb_claim_interface(usb_dev_handle*, int interface) {
  state().calls.push_back("usb_claim_interface " + std::to_string(interface));
  return state().claimInterfaceResult;
}

GRX1_EXPORT int usb_bulk_write(usb_dev_handle* dev, int ep, const char* bytes, int size, int) {
  auto& s = state();
  s.writeSizes.push_back(size);
  grx::sim::Device* d = dev ? s.deviceAt(dev->device) : nullptr;
  if (!d || d->dropped) return -ENODEV;
  if (ep != 0x01 || size < 0) return -EINVAL;
  if (grx::sim::takeFailure(s.failWrites)) return -EPIPE;
  if (d->core.receive(reinterpret_cast<const std::uint8_t*>(bytes), std::size_t(size)) ==
      grx::sim::TesterCore::Event::Drop)
    d->dropped = true;
  return size;
}

#ifndef GRX1_USBDOUBLE_WITHOUT_BULK_READ
GRX1_EXPORT int usb_bulk_read(usb_dev_handle* dev, int ep, char* bytes, int size, int) {
  auto& s = state();
  s.readSizes.push_back(size);
  grx::sim::Device* d = dev ? s.deviceAt(dev->device) : nullptr;
  if (!d || d->dropped) return -ENODEV;
  if (ep != 0x82 || size < 0) return -EINVAL;
  if (grx::sim::takeFailure(s.failReads)) return -EIO;
  if (size == 0) return 0;
  const std::size_t n = d->core.takeOutput(reinterpret_cast<std::uint8_t*>(bytes), std::size_t(size));
  // A silent tester: the real library would wait out the 500 ms time-out first.
  return n == 0 ? -ETIMEDOUT : int(n);
}
#endif

// --- the rest of the library's entry points, present so the library loads ----------------------

GRX1_EXPORT void usb_set_debug(int) {}
GRX1_EXPORT char* usb_strerror(void) { return grx::sim::gError; }
GRX1_EXPORT struct usb_device* usb_device(usb_dev_handle* dev) {
  grx::sim::Device* d = dev ? state().deviceAt(dev->device) : nullptr;
  return d ? &d->dev : nullptr;
}
GRX1_EXPORT int usb_clear_halt(usb_dev_handle*, unsigned int) { return 0; }
GRX1_EXPORT int usb_resetep(usb_dev_handle*, unsigned int) { return 0; }
GRX1_EXPORT int usb_reset(usb_dev_handle*) { return 0; }
GRX1_EXPORT int usb_release_interface(usb_dev_handle*, int) { return 0; }
GRX1_EXPORT int usb_set_altinterface(usb_dev_handle*, int) { return 0; }
GRX1_EXPORT int usb_control_msg(usb_dev_handle*, int, int, int, int, char*, int, int) { return -EIO; }
GRX1_EXPORT int usb_interrupt_write(usb_dev_handle*, int, const char*, int, int) { return -EIO; }
GRX1_EXPORT int usb_interrupt_read(usb_dev_handle*, int, char*, int, int) { return -EIO; }
GRX1_EXPORT int usb_get_string(usb_dev_handle*, int, int, char*, size_t) { return -EIO; }
GRX1_EXPORT int usb_get_string_simple(usb_dev_handle*, int, char*, size_t) { return -EIO; }
GRX1_EXPORT int usb_get_descriptor(usb_dev_handle*, unsigned char, unsigned char, void*, int) { return -EIO; }
GRX1_EXPORT int usb_get_descriptor_by_endpoint(usb_dev_handle*, int, unsigned char, unsigned char, void*, int) {
  return -EIO;
}

// Entry points of the Windows library (asynchronous transfers, driver installation).
GRX1_EXPORT int usb_bulk_setup_async(usb_dev_handle*, void**, unsigned char) { return -EIO; }
GRX1_EXPORT int usb_interrupt_setup_async(usb_dev_handle*, void**, unsigned char) { return -EIO; }
GRX1_EXPORT int usb_isochronous_setup_async(usb_dev_handle*, void**, unsigned char, int) { return -EIO; }
GRX1_EXPORT int usb_submit_async(void*, char*, int) { return -EIO; }
GRX1_EXPORT int usb_reap_async(void*, int) { return -EIO; }
GRX1_EXPORT int usb_reap_async_nocancel(void*, int) { return -EIO; }
GRX1_EXPORT int usb_cancel_async(void*) { return -EIO; }
GRX1_EXPORT int usb_free_async(void**) { return -EIO; }
GRX1_EXPORT const void* usb_get_version(void) { return nullptr; }
GRX1_EXPORT int usb_install_service_np(void) { return -EIO; }
GRX1_EXPORT void usb_install_service_np_rundll(void*, void*, const char*, int) {}
GRX1_EXPORT int usb_uninstall_service_np(void) { return -EIO; }
GRX1_EXPORT void usb_uninstall_service_np_rundll(void*, void*, const char*, int) {}
GRX1_EXPORT int usb_install_driver_np(const char*) { return -EIO; }
GRX1_EXPORT void usb_install_driver_np_rundll(void*, void*, const char*, int) {}
GRX1_EXPORT int usb_touch_inf_file_np(const char*) { return -EIO; }
GRX1_EXPORT void usb_touch_inf_file_np_rundll(void*, void*, const char*, int) {}
GRX1_EXPORT int usb_install_needs_restart_np(void) { return 0; }
