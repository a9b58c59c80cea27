#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/status.h"

namespace taloven::emulator {

// The line between the printer and the application. Each kind (pseudo-
// terminal, file exchange, and others to come) lives in its own file.
class Transport {
 public:
  virtual ~Transport() = default;

  // Waits up to timeoutMs for bytes from the application: the count read,
  // 0 when none came (or a signal interrupted the wait), -1 when the line
  // failed for good.
  virtual int Receive(uint8_t* buffer, size_t capacity, int timeoutMs) = 0;
  // Sends every byte; false when the line refused them.
  virtual bool Send(const uint8_t* bytes, size_t count) = 0;
  // Drops the line as a pulled cable does and offers a fresh one.
  virtual Status Reconnect() = 0;
  // Where the application finds the printer, printed as the first line.
  virtual std::string Address() const = 0;
};

}  // namespace taloven::emulator
