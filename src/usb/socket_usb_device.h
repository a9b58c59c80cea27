#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "usb/usb_device.h"

namespace taloven {

// The USB printer as the virtual printer offers it on a local stream socket.
// Each request is one message: an operation byte, a 16-bit little-endian
// payload length and the payload. Each answer: a result byte (0 accepted,
// 1 stalled), a 16-bit little-endian length and the payload.
//   'W' bytes to send          -> 16-bit count taken
//   'R' one byte request code  -> at most 8 bytes (the no-data signature when
//                                 the printer has nothing to say)
//   'Z' (no payload)           -> nothing: the printer drops its pending reply
// A connection that fails or stays silent past the answer time is dropped
// and reported as a removed device, so the transport connects anew.
class SocketUsbDevice : public UsbDevice {
 public:
  static constexpr int kAnswerTimeoutMs = 1000;

  explicit SocketUsbDevice(std::string path) : path(std::move(path)) {}
  ~SocketUsbDevice() override;
  SocketUsbDevice(const SocketUsbDevice&) = delete;
  SocketUsbDevice& operator=(const SocketUsbDevice&) = delete;

  bool AcquireDeviceList() override;
  void ReleaseDeviceList() override {}
  UsbStatus OpenFirstDevice() override;
  void CloseDevice() override;
  UsbStatus SetConfiguration(const UsbConfiguration& configuration) override;
  UsbStatus BindPipe(uint8_t endpointAddress) override;
  void UnbindPipe() override { pipeBound = false; }
  UsbStatus Write(const uint8_t* bytes, int count, int* written, int timeoutMs) override;
  UsbStatus ControlRead(uint8_t requestCode, uint8_t* buffer, int* received) override;
  UsbStatus ResetDevice() override;
  UsbStatus ResetPipe() override;

 private:
  UsbStatus Exchange(char operation, const uint8_t* payload, size_t length,
                     std::vector<uint8_t>* answer, int timeoutMs);
  UsbStatus Drop(UsbStatus status);

  std::string path;
  int socketFd = -1;
  bool configured = false;
  bool pipeBound = false;
};

}  // namespace taloven
