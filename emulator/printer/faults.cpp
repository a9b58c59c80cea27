#include "printer/faults.h"

#include "printer/wire_frame.h"

namespace taloven::emulator {

ShapedReply ShapeReply(std::vector<uint8_t> reply, size_t statusAt, FaultPlan& plan) {
  ShapedReply shaped;
  if (plan.after > 0 && plan.Any()) {
    --plan.after;
    shaped.bytes = std::move(reply);
    return shaped;
  }
  if (!plan.Any() || plan.commands == 0) {
    shaped.bytes = std::move(reply);
    return shaped;
  }
  if (plan.commands > 0) --plan.commands;
  if (plan.noReply) return shaped;
  if (plan.nak && !reply.empty()) reply[0] = kNak;
  // The data lies between the ACK and the status bytes.
  if (plan.corruptData && statusAt > 1) reply[statusAt / 2 + 1] ^= 0x10;
  if (plan.corruptStatus && statusAt + 1 < reply.size()) {
    // Bits no command of this printer ever reports together.
    reply[statusAt] ^= 0xB5;
    reply[statusAt + 1] ^= 0x6A;
  }
  for (int i = 0; i < plan.noiseBytes; ++i)
    shaped.bytes.push_back(static_cast<uint8_t>(i % 2 == 0 ? 0xFF : 0x00));
  shaped.bytes.insert(shaped.bytes.end(), reply.begin(), reply.end());
  if (plan.stallAfter >= 0 && static_cast<size_t>(plan.stallAfter) < shaped.bytes.size())
    shaped.bytes.resize(static_cast<size_t>(plan.stallAfter));
  if (plan.closeMidReply) {
    shaped.bytes.resize(shaped.bytes.size() / 2);
    shaped.dropLineAtEnd = true;
  }
  shaped.slowByteMs = plan.slowByteMs;
  shaped.gapMs = plan.gapMs;
  shaped.gapEvery = plan.gapEvery;
  return shaped;
}

}  // namespace taloven::emulator
