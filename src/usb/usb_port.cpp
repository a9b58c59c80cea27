#include "usb/usb_port.h"

#include <algorithm>

#include "link/clock.h"
#include "usb/kovousbprinter.h"

namespace taloven {

UsbPort::UsbPort(std::string name, UsbPrinter& printer, Clock& clock)
    : ByteLinePort(std::move(name)), printer(printer), clock(clock) {}

int UsbPort::Open(int /*parameter*/) {
  return printer.EnsureOpen() ? 1 : 0;
}

void UsbPort::Close() {}

int UsbPort::Write(const uint8_t* bytes, int count, int /*timeoutMs*/) {
  int total = 0;
  while (total < count) {
    int sent = 0;
    int chunk = std::min(UsbPrinter::kChunkSize, count - total);
    bool ok = printer.SendChunk(bytes + total, chunk, &sent);
    total += sent;
    if (!ok) break;
  }
  return total == count ? 1 : 0;
}

int UsbPort::Read(uint8_t* buffer, int count, int timeoutMs) {
  int total = 0;
  while (total < count) {
    int received = 0;
    int complete = printer.ReadQueued(buffer + total, count - total, &received,
                                      timeoutMs + kExtraReadTimeMs, false);
    total += received;
    if (!complete) return 0;
  }
  return 1;
}

int UsbPort::Purge() {
  printer.ClearQueue();
  return 1;
}

void UsbPort::Drain(int timeoutMs, int limit) {
  int savedLimit = printer.SignatureLimit();
  printer.SetSignatureLimit(limit);
  uint8_t scratch[UsbPrinter::MAX_READ_SIZE];
  int received = 0;
  while (printer.ReadQueued(scratch, sizeof scratch, &received, timeoutMs, false) && received > 0) {
  }
  printer.SetSignatureLimit(savedLimit);
  printer.ClearQueue();
}

int UsbPort::ReadPending(uint8_t* buffer) {
  printer.StartReader();
  for (size_t before = printer.QueuedCount();;) {
    clock.Sleep(kPendingLookMs);
    size_t after = printer.QueuedCount();
    if (after == before) break;
    before = after;
  }
  int handedOut = printer.TakeQueued(buffer, kPendingLimit);
  printer.PauseReader();
  readerEnded = printer.ReaderEnded();
  return handedOut;
}

}  // namespace taloven
