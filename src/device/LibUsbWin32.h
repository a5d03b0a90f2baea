#pragma once
// The libusb 0.1 types and entry points as the Windows library (libusb0.dll) lays them out: the
// same API as Linux's usb.h, but its bus and device paths are 512 bytes long, so the Linux header
// would put `devices` and `descriptor` at the wrong offsets. Only what the transport uses.
#ifdef _WIN32
#include <cstdint>

extern "C" {

constexpr int kLibUsbWin32PathMax = 512;

struct usb_device_descriptor {
  std::uint8_t bLength;
  std::uint8_t bDescriptorType;
  std::uint16_t bcdUSB;
  std::uint8_t bDeviceClass;
  std::uint8_t bDeviceSubClass;
  std::uint8_t bDeviceProtocol;
  std::uint8_t bMaxPacketSize0;
  std::uint16_t idVendor;
  std::uint16_t idProduct;
  std::uint16_t bcdDevice;
  std::uint8_t iManufacturer;
  std::uint8_t iProduct;
  std::uint8_t iSerialNumber;
  std::uint8_t bNumConfigurations;
};

struct usb_bus;
struct usb_config_descriptor;
struct usb_dev_handle;

struct usb_device {
  usb_device* next;
  usb_device* prev;
  char filename[kLibUsbWin32PathMax];
  usb_bus* bus;
  usb_device_descriptor descriptor;
  usb_config_descriptor* config;
  void* dev;
  std::uint8_t devnum;
  std::uint8_t num_children;
  usb_device** children;
};

struct usb_bus {
  usb_bus* next;
  usb_bus* prev;
  char dirname[kLibUsbWin32PathMax];
  usb_device* devices;
  unsigned long location;
  usb_device* root_dev;
};

void usb_init(void);
int usb_find_busses(void);
int usb_find_devices(void);
usb_bus* usb_get_busses(void);
usb_dev_handle* usb_open(usb_device* dev);
int usb_close(usb_dev_handle* dev);
int usb_set_configuration(usb_dev_handle* dev, int configuration);
int usb_claim_interface(usb_dev_handle* dev, int interface);
int usb_bulk_write(usb_dev_handle* dev, int ep, const char* bytes, int size, int timeout);
int usb_bulk_read(usb_dev_handle* dev, int ep, char* bytes, int size, int timeout);
}
#endif
