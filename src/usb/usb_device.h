#pragma once

#include <cstdint>

#include "usb/usb_status.h"

namespace taloven {

// The one configuration the printer is used in.
struct UsbConfiguration {
  uint16_t configurationIndex = 0;
  uint8_t interfaceNumber = 0;
  uint8_t alternateSetting = 0;
  uint32_t maximumTransferSize = 5120;
};

// The requests the USB printer transport makes of the device below it. Every
// request reports a status code (kUsbOk on success); the transport decides
// how to react. Requests are made from one thread at a time.
class UsbDevice {
 public:
  static constexpr int kControlReadSize = 8;

  virtual ~UsbDevice() = default;

  // Obtains the list of present printer devices; false when the system
  // cannot give one at all (which is no reason to retry).
  virtual bool AcquireDeviceList() = 0;
  virtual void ReleaseDeviceList() = 0;

  // Opens the first device of the list. kUsbNoSuchDeviceInstance when the
  // list is empty.
  virtual UsbStatus OpenFirstDevice() = 0;
  virtual void CloseDevice() = 0;

  virtual UsbStatus SetConfiguration(const UsbConfiguration& configuration) = 0;
  // Binds the write pipe to an OUT endpoint of the configured interface.
  virtual UsbStatus BindPipe(uint8_t endpointAddress) = 0;
  virtual void UnbindPipe() = 0;

  // Sends bytes through the bound pipe; *written tells how many went out,
  // also when the request fails part way. Waits at most timeoutMs.
  virtual UsbStatus Write(const uint8_t* bytes, int count, int* written, int timeoutMs) = 0;

  // The class-specific control IN request: at most kControlReadSize bytes
  // into buffer, their number in *received.
  virtual UsbStatus ControlRead(uint8_t requestCode, uint8_t* buffer, int* received) = 0;

  // The two recovery requests, issued in this order before a retry.
  virtual UsbStatus ResetDevice() = 0;
  virtual UsbStatus ResetPipe() = 0;
};

}  // namespace taloven
