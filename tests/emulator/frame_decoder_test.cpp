#include <gtest/gtest.h>

#include "emulator/printer_fixture.h"
#include "printer/wire_frame.h"

namespace taloven::emulator::testing {
namespace {

using Event = FrameDecoder::Event;

// Feeds the bytes and reports the events in order, the line going quiet at
// the end when asked.
std::vector<Event> FeedAll(FrameDecoder& decoder, const std::vector<uint8_t>& bytes,
                           bool idleAtEnd) {
  std::vector<Event> events;
  for (uint8_t b : bytes) {
    const Event e = decoder.Feed(b);
    if (e != Event::kNone) events.push_back(e);
  }
  if (idleAtEnd) {
    const Event e = decoder.LineIdle();
    if (e != Event::kNone) events.push_back(e);
  }
  return events;
}

TEST(FrameDecoder, JudgesFramesAsThePrinterReceivesThem) {
  const std::vector<uint8_t> probe = {0x02, 0x05, 0x00, 0x1B, 0x23, 0x14, 0x52, 0x00};
  std::vector<uint8_t> badSum = probe;
  badSum[6] = 0x53;
  std::vector<uint8_t> oversized = {0x02, 0xFE, 0x0F, 0x1B};  // 4094 bytes announced
  std::vector<uint8_t> tooShort = {0x02, 0x03, 0x00, 0x1B, 0x1B, 0x00};
  std::vector<uint8_t> twoFrames = probe;
  twoFrames.insert(twoFrames.end(), probe.begin(), probe.end());
  std::vector<uint8_t> noiseFirst = {0x55, 0xAA};

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool idle;
    std::vector<Event> events;
  };
  const std::vector<Case> cases = {
      {"the model probe", probe, false, {Event::kFrame}},
      {"a wrong checksum", badSum, false, {Event::kReject}},
      {"a frame cut short", {probe.begin(), probe.begin() + 5}, true, {Event::kReject}},
      {"a length beyond 4093", oversized, true, {Event::kReject}},
      {"a length below the minimum", tooShort, true, {Event::kReject}},
      {"bytes without STX", noiseFirst, true, {Event::kReject}},
      {"two frames in a row", twoFrames, false, {Event::kFrame, Event::kFrame}},
      {"a quiet line", {}, true, {}},
  };
  for (const Case& c : cases) {
    FrameDecoder decoder;
    EXPECT_EQ(FeedAll(decoder, c.bytes, c.idle), c.events) << c.what;
    EXPECT_FALSE(decoder.Busy()) << c.what;
  }
}

TEST(FrameDecoder, DeliversStartByteAndBody) {
  FrameDecoder decoder;
  const std::vector<uint8_t> frame = BuildFrame(kExtendedStart, {35, 60});
  ASSERT_EQ(FeedAll(decoder, frame, false), std::vector<Event>{Event::kFrame});
  const Frame got = decoder.TakeFrame();
  EXPECT_TRUE(got.Extended());
  EXPECT_EQ(got.body, (std::vector<uint8_t>{35, 60}));
}

TEST(FrameDecoder, LongestFrameIsAccepted) {
  std::vector<uint8_t> body(kMaxFrameLength - 3, 'A');
  body[0] = 3;  // the cliché command takes any text
  FrameDecoder decoder;
  EXPECT_EQ(FeedAll(decoder, BuildFrame(kEsc, body), false), std::vector<Event>{Event::kFrame});
}

TEST(FrameDecoder, ProbeAnswerTellsTheMode) {
  for (bool intervention : {false, true}) {
    PrinterState state = DefaultPrinterState("ECF-T08");
    state.intervention = intervention;
    Printer printer(state);
    const Reply reply = printer.Answer(Frame{kEsc, {35, 20}});
    ASSERT_EQ(reply.bytes.size(), 4u);
    EXPECT_EQ(reply.bytes[0], kAck);
    EXPECT_EQ(reply.bytes[1] == 'U', !intervention);
  }
}

TEST(FrameDecoder, WrongStartByteIsReportedInTheStatus) {
  Printer printer(DefaultPrinterState("ECF-T08"));
  const Reply reply = printer.Answer(Frame{0x1D, {35, 60}});
  ASSERT_EQ(reply.bytes.size(), 3u);
  EXPECT_EQ(reply.bytes[1], 0x08);
}

}  // namespace
}  // namespace taloven::emulator::testing
