#include <gtest/gtest.h>

#include <random>

#include "emulator/printer_fixture.h"

namespace taloven::emulator::testing {
namespace {

// Whatever bytes follow a command code, the printer answers with a reply of
// the shape it announces and keeps a state it can go on with.
TEST(Robustness, ArbitraryParametersNeverBreakTheReply) {
  std::mt19937 random(20261207);
  std::vector<std::vector<uint8_t>> codes;
  for (int first = 0; first < 256; ++first) {
    if (first == 35 || first == 80) {
      for (int second = 0; second < 100; ++second)
        codes.push_back({static_cast<uint8_t>(first), static_cast<uint8_t>(second)});
    } else {
      codes.push_back({static_cast<uint8_t>(first)});
    }
  }
  for (bool intervention : {false, true}) {
    PrinterState state = DefaultPrinterState("ECF-T08");
    state.intervention = intervention;
    PrinterFixture f(state);
    for (int round = 0; round < 20; ++round) {
      for (const auto& code : codes) {
        std::string parameters(random() % 200, '\0');
        const bool digits = random() % 2 == 0;  // digits get further into the commands
        for (char& c : parameters)
          c = static_cast<char>(digits ? '0' + random() % 10 : random() % 256);
        std::vector<uint8_t> body = code;
        body.insert(body.end(), parameters.begin(), parameters.end());
        const Reply reply = f.printer.Answer(Frame{kEsc, body});
        ASSERT_GE(reply.bytes.size(), 3u);
        EXPECT_EQ(reply.bytes[0], kAck);
        const int size = Printer::ReplySizeOf(code, parameters);
        if (size == -1)
          EXPECT_EQ(reply.bytes.back(), kEtx);
        else
          EXPECT_EQ(reply.bytes.size(), static_cast<size_t>(std::max(size, 0)) + 3);
        EXPECT_EQ(reply.statusAt + 2 <= reply.bytes.size(), true);
      }
      f.hostTime += 86400;  // a new day now and then, so that Z and sales both run
    }
  }
}

}  // namespace
}  // namespace taloven::emulator::testing
