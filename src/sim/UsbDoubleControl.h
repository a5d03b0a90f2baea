#pragma once
// The control side of the libusb 0.1 test double (libgrx1-usb-double.so): tests load the library
// the way the program does (through GRX1_LIBUSB) and resolve grx1_usbdouble_control() to arrange
// the bus and to see what the transport did.
#include "TesterCore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace grx::sim {

class UsbDoubleControl {
 public:
  // One bus with one tester (03EB:0120) holding no measurements; logs and failures cleared.
  virtual void reset() = 0;
  // Adds a device at the end of bus `bus` (0 or 1); returns its tester core (any device answers).
  virtual TesterCore& addDevice(int bus, std::uint16_t vendor, std::uint16_t product) = 0;
  virtual void removeAllDevices() = 0;
  virtual TesterCore& device(int index) = 0;  // in the order added
  // The next usb_find_devices reports a change (something plugged or unplugged).
  virtual void markBusChanged() = 0;

  int setConfigurationResult = 0;
  int claimInterfaceResult = 0;
  int failWrites = 0;  // this many bulk writes fail with -EPIPE (-1: all)
  int failReads = 0;   // this many bulk reads fail with -EIO (-1: all)

  // Every call the transport made, e.g. "usb_open 1" (device index), "usb_set_configuration 1",
  // "usb_claim_interface 0", "usb_close".
  std::vector<std::string> calls;
  std::vector<int> writeSizes;  // size of every bulk write, in order
  std::vector<int> readSizes;   // size asked by every bulk read, in order
  int openHandles = 0;

 protected:
  ~UsbDoubleControl() = default;
};

using UsbDoubleControlFn = UsbDoubleControl* (*)();

}  // namespace grx::sim
