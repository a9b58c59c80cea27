#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace taloven::emulator {

// Faults a test can ask for. Each applies to every reply while the plan is
// active; a count limits them to the next K commands.
struct FaultPlan {
  bool noReply = false;
  int stallAfter = -1;  // send only the first N reply bytes
  bool nak = false;     // the reply's first byte is NAK instead of ACK
  bool corruptStatus = false;
  int noiseBytes = 0;  // bytes of line noise ahead of the reply
  int slowByteMs = 0;  // extra pause before every reply byte
  bool closeMidReply = false;
  int commands = -1;         // commands still affected; -1: all of them
  bool corruptData = false;  // one bit of the reply data flipped
  int after = 0;             // commands answered soundly before the plan starts
  // A pause of gapMs after every gapEvery reply bytes, as a USB-serial
  // adapter hands bytes over in bursts.
  int gapMs = 0;
  int gapEvery = 0;

  bool Any() const {
    return noReply || stallAfter >= 0 || nak || corruptStatus || noiseBytes > 0 || slowByteMs > 0 ||
           closeMidReply || corruptData || gapMs > 0;
  }
};

// One reply as it will go out: the bytes, and what happens on the way.
struct ShapedReply {
  std::vector<uint8_t> bytes;
  int slowByteMs = 0;
  int gapMs = 0, gapEvery = 0;
  bool dropLineAtEnd = false;  // the line is dropped after the bytes
};

// Applies the plan to a reply whose status bytes start at statusAt, and
// counts the command against the plan's limit.
ShapedReply ShapeReply(std::vector<uint8_t> reply, size_t statusAt, FaultPlan& plan);

}  // namespace taloven::emulator
