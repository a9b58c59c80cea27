#include <gtest/gtest.h>

#include "printer/faults.h"
#include "printer/wire_frame.h"

namespace taloven::emulator {
namespace {

TEST(Faults, ShapeTheReplyAndCountDown) {
  const std::vector<uint8_t> reply = {kAck, 'A', 'B', 0x00, 0x00};
  struct Case {
    const char* what;
    FaultPlan plan;
    std::vector<uint8_t> sent;
    bool drop;
    int slow;
    int gapMs = 0, gapEvery = 0;
  };
  FaultPlan noReply, stall, nak, corrupt, noise, slow, close, gap;
  noReply.noReply = true;
  stall.stallAfter = 2;
  nak.nak = true;
  corrupt.corruptStatus = true;
  noise.noiseBytes = 3;
  slow.slowByteMs = 5;
  close.closeMidReply = true;
  gap.gapMs = 20;
  gap.gapEvery = 62;
  const std::vector<Case> cases = {
      {"none", FaultPlan{}, reply, false, 0},
      {"no reply", noReply, {}, false, 0},
      {"stall", stall, {kAck, 'A'}, false, 0},
      {"nak", nak, {kNak, 'A', 'B', 0x00, 0x00}, false, 0},
      {"corrupt status", corrupt, {kAck, 'A', 'B', 0xB5, 0x6A}, false, 0},
      {"noise", noise, {0xFF, 0x00, 0xFF, kAck, 'A', 'B', 0x00, 0x00}, false, 0},
      {"slow", slow, reply, false, 5},
      {"close", close, {kAck, 'A'}, true, 0},
      {"gap", gap, reply, false, 0, 20, 62},
  };
  for (Case c : cases) {
    const ShapedReply shaped = ShapeReply(reply, 3, c.plan);
    EXPECT_EQ(shaped.bytes, c.sent) << c.what;
    EXPECT_EQ(shaped.dropLineAtEnd, c.drop) << c.what;
    EXPECT_EQ(shaped.slowByteMs, c.slow) << c.what;
    EXPECT_EQ(shaped.gapMs, c.gapMs) << c.what;
    EXPECT_EQ(shaped.gapEvery, c.gapEvery) << c.what;
  }

  FaultPlan limited = nak;
  limited.commands = 2;
  EXPECT_EQ(ShapeReply(reply, 3, limited).bytes[0], kNak);
  EXPECT_EQ(ShapeReply(reply, 3, limited).bytes[0], kNak);
  EXPECT_EQ(ShapeReply(reply, 3, limited).bytes[0], kAck);
}

}  // namespace
}  // namespace taloven::emulator
