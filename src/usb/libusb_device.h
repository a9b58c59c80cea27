#pragma once

#include <cstdint>

#include "usb/usb_device.h"

struct libusb_context;
struct libusb_device_handle;

namespace taloven {

// The printer on the USB bus, reached through libusb. Reply bytes come from
// the class-specific control IN request; bytes go out on bulk OUT 0x02.
//
// libusb's results map onto the status codes the transport acts on:
//   success                         -> kUsbOk
//   LIBUSB_ERROR_TIMEOUT            -> kUsbRequestTimeout (read: ask again)
//   LIBUSB_ERROR_OVERFLOW           -> kUsbDataOverrun (read: ask again)
//   LIBUSB_ERROR_PIPE (stall), _IO  -> kUsbDeviceNotResponding (recover, retry)
//   LIBUSB_ERROR_NO_DEVICE          -> kUsbDeviceRemoved (close, reopen)
//   request without an open handle  -> kUsbDeviceNotOpen (reopen)
//   no device with the printer's id -> kUsbNoSuchDeviceInstance (open fails)
//   LIBUSB_ERROR_ACCESS, _BUSY      -> kUsbDeviceNotFound (open fails: no
//                                      permission, or another program has it)
//   LIBUSB_ERROR_NO_MEM             -> kUsbNoSystemMemory
//   LIBUSB_ERROR_INVALID_PARAM,
//   _NOT_FOUND, _NOT_SUPPORTED      -> kUsbInvalidParameter
//   any other error e               -> 0xE00F0000 | -e (ends the operation)
// The device list is libusb's context: without one nothing can be listed.
class LibusbDevice : public UsbDevice {
 public:
  static constexpr uint16_t kVendorId = 0x2843;
  static constexpr uint16_t kProductId = 0x0000;
  static constexpr unsigned kControlTimeoutMs = 500;

  LibusbDevice() = default;
  ~LibusbDevice() override;
  LibusbDevice(const LibusbDevice&) = delete;
  LibusbDevice& operator=(const LibusbDevice&) = delete;

  bool AcquireDeviceList() override;
  void ReleaseDeviceList() override;
  UsbStatus OpenFirstDevice() override;
  void CloseDevice() override;
  UsbStatus SetConfiguration(const UsbConfiguration& configuration) override;
  UsbStatus BindPipe(uint8_t endpointAddress) override;
  void UnbindPipe() override;
  UsbStatus Write(const uint8_t* bytes, int count, int* written, int timeoutMs) override;
  UsbStatus ControlRead(uint8_t requestCode, uint8_t* buffer, int* received) override;
  UsbStatus ResetDevice() override;
  UsbStatus ResetPipe() override;

  static UsbStatus StatusFor(int libusbResult);

 private:
  libusb_context* context = nullptr;
  libusb_device_handle* handle = nullptr;
  int claimedInterface = -1;
  uint8_t pipe = 0;  // 0 while unbound
};

}  // namespace taloven
