#include "link/loopback_test.h"

#include <memory>

namespace taloven {
namespace {

// Written and read back a block at a time, so that no buffer on the way
// overflows and a lost byte is told from a late one.
constexpr size_t kBlock = 64;
// A byte on the line: start bit, 8 data bits, 2 stop bits.
constexpr int kBitsPerByte = 11;
constexpr int kMarginMs = 200;

std::vector<uint8_t> Patterns() {
  std::vector<uint8_t> bytes;
  for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<uint8_t>(value));
  for (uint8_t value : {0x55, 0xAA, 0x00, 0xFF, 0x0F, 0xF0})
    bytes.insert(bytes.end(), kBlock / 2, value);
  return bytes;
}

LoopbackResult AtSpeed(Port& port, int baudRate, const std::vector<uint8_t>& bytes,
                       const std::function<bool()>& cancelled) {
  LoopbackResult result;
  result.baudRate = baudRate;
  if (!port.Open(baudRate)) {
    result.failure = port.OpenFailure().empty() ? "a porta n\xE3o abriu" : port.OpenFailure();
    port.Close();
    return result;
  }
  port.Purge();
  const int byteWaitMs = kBitsPerByte * 1000 * static_cast<int>(kBlock) / baudRate + kMarginMs;
  for (size_t at = 0; at < bytes.size() && !cancelled(); at += kBlock) {
    const size_t count = std::min(kBlock, bytes.size() - at);
    result.sent += static_cast<int>(count);
    if (!port.Write(bytes.data() + at, static_cast<int>(count), 0)) continue;
    for (size_t i = 0; i < count; ++i) {
      uint8_t back = 0;
      if (!port.Read(&back, 1, byteWaitMs)) break;
      ++result.received;
      if (back != bytes[at + i]) ++result.changed;
    }
    // What straggles in after a loss belongs to no block.
    port.Purge();
  }
  port.Close();
  return result;
}

}  // namespace

const std::vector<int>& LoopbackSpeeds() {
  static const std::vector<int> speeds = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
  return speeds;
}

std::vector<LoopbackResult> RunLoopbackTest(PortFactory& ports, const std::string& name,
                                            const std::vector<int>& speeds,
                                            const std::function<bool()>& cancelled) {
  const std::vector<uint8_t> bytes = Patterns();
  std::vector<LoopbackResult> results;
  for (int speed : speeds) {
    if (cancelled()) break;
    std::unique_ptr<Port> port = ports.Create(name);
    results.push_back(AtSpeed(*port, speed, bytes, cancelled));
    if (!results.back().failure.empty()) break;  // the next speed would fail the same way
  }
  return results;
}

}  // namespace taloven
