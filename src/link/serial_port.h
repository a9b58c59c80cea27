#pragma once

#include <termios.h>

#include <array>
#include <cstddef>
#include <string>

#include "link/port.h"

namespace taloven {

// The device a serial port name opens: "COM1:" to "COM8:" are /dev/ttyS0 to
// /dev/ttyS7, any other name is taken as a device path as it is.
std::string SerialDevicePath(const std::string& name);

// A printer on a serial line (or a pseudo-terminal standing in for one).
// Transfers follow the line's own time-outs: a read of n bytes gives up
// after 1000 * n + 5 ms, or after the caller's time-out when that is
// shorter, or 10 ms after a byte when the next one does not follow; a write
// of n bytes after 1000 * n + 1 ms, whatever the caller passes.
class SerialPort : public ByteLinePort {
 public:
  explicit SerialPort(std::string name) : ByteLinePort(std::move(name)) {}
  ~SerialPort() override;

  int Open(int baudRate) override;
  void Close() override;
  int Write(const uint8_t* bytes, int count, int timeoutMs) override;
  int Read(uint8_t* buffer, int count, int timeoutMs) override;
  int Purge() override;

  // Why the latest Open failed, in the system's words; empty after success.
  std::string OpenFailure() const override;
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& OpenName() const { return openName_; }

 private:
  int OpenLine(int baudRate);
  void WaitForOutput(int count);

  // Bytes the line already delivered but no Read has asked for yet: one
  // system call takes in what is waiting, the reads hand it out.
  size_t TakePending(uint8_t* buffer, size_t count);

  int fd_ = -1;
  int openError_ = 0;
  std::array<uint8_t, 256> pending_{};
  size_t pendingAt_ = 0, pendingEnd_ = 0;
  bool settingsSaved_ = false;
  termios savedSettings_{};
  std::string openName_;
};

}  // namespace taloven
