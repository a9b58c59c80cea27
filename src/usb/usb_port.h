#pragma once

#include <string>

#include "link/port.h"

namespace taloven {

class Clock;
class UsbPrinter;

// The port named "USB": it keeps no device state of its own and forwards
// every operation to the process's one USB printer, which stays open
// between commands.
class UsbPort : public ByteLinePort {
 public:
  static constexpr int kExtraReadTimeMs = 500;
  static constexpr int kPendingLimit = 4102;
  static constexpr int kPendingLookMs = 8;

  UsbPort(std::string name, UsbPrinter& printer, Clock& clock);

  int Open(int parameter) override;
  void Close() override;
  int Write(const uint8_t* bytes, int count, int timeoutMs) override;
  int Read(uint8_t* buffer, int count, int timeoutMs) override;
  int Purge() override;
  void Drain(int timeoutMs, int limit) override;
  // buffer must hold kPendingLimit bytes.
  int ReadPending(uint8_t* buffer) override;

  bool ReaderEnded() const { return readerEnded; }

 private:
  UsbPrinter& printer;
  Clock& clock;
  bool readerEnded = false;
};

}  // namespace taloven
