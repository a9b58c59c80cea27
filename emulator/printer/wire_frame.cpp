#include "printer/wire_frame.h"

namespace taloven::emulator {

uint16_t ByteSum(const uint8_t* bytes, size_t count) {
  uint32_t sum = 0;
  for (size_t i = 0; i < count; ++i) sum += bytes[i];
  return static_cast<uint16_t>(sum & 0xFFFF);
}

FrameDecoder::Event FrameDecoder::Feed(uint8_t byte) {
  switch (state_) {
    case State::kIdle:
      if (byte != kStx) {
        state_ = State::kGarbage;
        return Event::kNone;
      }
      state_ = State::kLengthLow;
      return Event::kNone;
    case State::kLengthLow:
      length_ = byte;
      state_ = State::kLengthHigh;
      return Event::kNone;
    case State::kLengthHigh:
      length_ = static_cast<uint16_t>(length_ | (byte << 8));
      // Start byte, at least one command byte and the two checksum bytes.
      if (length_ < 4 || length_ > kMaxFrameLength) {
        state_ = State::kGarbage;
        return Event::kNone;
      }
      pending_.clear();
      pending_.reserve(length_);
      state_ = State::kBody;
      return Event::kNone;
    case State::kBody: {
      pending_.push_back(byte);
      if (pending_.size() < length_) return Event::kNone;
      state_ = State::kIdle;
      const size_t covered = pending_.size() - 2;
      const uint16_t expected =
          static_cast<uint16_t>(pending_[covered] | (pending_[covered + 1] << 8));
      const uint8_t start = pending_[0];
      if (ByteSum(pending_.data(), covered) != expected) return Event::kReject;
      frame_.startByte = start;
      frame_.body.assign(pending_.begin() + 1, pending_.begin() + static_cast<long>(covered));
      return Event::kFrame;
    }
    case State::kGarbage:
      return Event::kNone;
  }
  return Event::kNone;
}

FrameDecoder::Event FrameDecoder::LineIdle() {
  if (state_ == State::kIdle) return Event::kNone;
  state_ = State::kIdle;
  pending_.clear();
  return Event::kReject;
}

std::vector<uint8_t> BuildFrame(uint8_t startByte, const std::vector<uint8_t>& body) {
  // Filled by index: growing the vector piecewise trips a false overread
  // warning of the optimiser.
  const size_t n = 1 + body.size() + 2;
  std::vector<uint8_t> frame(3 + n);
  frame[0] = kStx;
  frame[1] = static_cast<uint8_t>(n & 0xFF);
  frame[2] = static_cast<uint8_t>(n >> 8);
  frame[3] = startByte;
  for (size_t i = 0; i < body.size(); ++i) frame[4 + i] = body[i];
  const uint16_t sum = ByteSum(frame.data() + 3, 1 + body.size());
  frame[4 + body.size()] = static_cast<uint8_t>(sum & 0xFF);
  frame[5 + body.size()] = static_cast<uint8_t>(sum >> 8);
  return frame;
}

}  // namespace taloven::emulator
