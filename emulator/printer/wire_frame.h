#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace taloven::emulator {

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kExtendedStart = 0x1C;

// The longest frame the application can build: 4096 bytes in all, so the
// length field (which excludes STX and itself) is at most 4093.
constexpr size_t kMaxFrameBytes = 4096;
constexpr uint16_t kMaxFrameLength = kMaxFrameBytes - 3;

// One command frame as the printer received it: the start byte and everything
// between it and the checksum (command code and parameters run together; the
// printer tells them apart by the code).
struct Frame {
  uint8_t startByte = kEsc;
  std::vector<uint8_t> body;

  bool Extended() const { return startByte == kExtendedStart; }
};

// Assembles frames from the bytes of the line, one byte at a time, as the
// printer's receiver does. A frame that breaks the rules (no STX, a length
// out of range, a wrong checksum, or bytes that stop coming) yields a NAK
// and nothing else.
class FrameDecoder {
 public:
  enum class Event { kNone, kFrame, kReject };

  // Takes one byte; kFrame makes the frame available through TakeFrame.
  Event Feed(uint8_t byte);
  // The line went quiet: a frame left half-way is rejected, and so is
  // garbage that was being skipped.
  Event LineIdle();
  // True while a frame or garbage is half-way received.
  bool Busy() const { return state_ != State::kIdle; }
  Frame TakeFrame() { return std::move(frame_); }

 private:
  enum class State { kIdle, kLengthLow, kLengthHigh, kBody, kGarbage };

  State state_ = State::kIdle;
  uint16_t length_ = 0;
  std::vector<uint8_t> pending_;
  Frame frame_;
};

uint16_t ByteSum(const uint8_t* bytes, size_t count);

// The frame an application sends for the given start byte and body; used by
// the emulator's own tests and benchmarks, never by the emulator to decode.
std::vector<uint8_t> BuildFrame(uint8_t startByte, const std::vector<uint8_t>& body);

}  // namespace taloven::emulator
