#include "usb/libusb_device.h"

#include <gtest/gtest.h>
#include <libusb.h>

namespace taloven {
namespace {

TEST(LibusbDevice, ErrorsMapOntoTheStatusCodesTheTransportActsOn) {
  const struct {
    int result;
    UsbStatus status;
  } cases[] = {
      {LIBUSB_SUCCESS, kUsbOk},
      {8, kUsbOk},  // a byte count
      {LIBUSB_ERROR_TIMEOUT, kUsbRequestTimeout},
      {LIBUSB_ERROR_OVERFLOW, kUsbDataOverrun},
      {LIBUSB_ERROR_PIPE, kUsbDeviceNotResponding},
      {LIBUSB_ERROR_IO, kUsbDeviceNotResponding},
      {LIBUSB_ERROR_NO_DEVICE, kUsbDeviceRemoved},
      {LIBUSB_ERROR_ACCESS, kUsbDeviceNotFound},
      {LIBUSB_ERROR_BUSY, kUsbDeviceNotFound},
      {LIBUSB_ERROR_NO_MEM, kUsbNoSystemMemory},
      {LIBUSB_ERROR_INVALID_PARAM, kUsbInvalidParameter},
      {LIBUSB_ERROR_NOT_FOUND, kUsbInvalidParameter},
      {LIBUSB_ERROR_INTERRUPTED, 0xE00F000Au},
      {LIBUSB_ERROR_OTHER, 0xE00F0063u},
  };
  for (const auto& c : cases) EXPECT_EQ(LibusbDevice::StatusFor(c.result), c.status) << c.result;
}

TEST(LibusbDevice, RequestsWithoutAnOpenDeviceSayNotOpen) {
  LibusbDevice device;
  uint8_t buffer[8];
  int count = 0;
  EXPECT_EQ(device.OpenFirstDevice(), kUsbNoSuchDeviceInstance);  // no list yet
  EXPECT_EQ(device.ControlRead(0x81, buffer, &count), kUsbDeviceNotOpen);
  EXPECT_EQ(device.Write(buffer, 1, &count, 100), kUsbDeviceNotOpen);
  EXPECT_EQ(device.SetConfiguration(UsbConfiguration{}), kUsbDeviceNotOpen);
  EXPECT_EQ(device.BindPipe(0x02), kUsbDeviceNotOpen);
  EXPECT_EQ(device.ResetDevice(), kUsbDeviceNotOpen);
}

}  // namespace
}  // namespace taloven
