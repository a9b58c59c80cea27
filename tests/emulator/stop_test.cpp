#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "emulator/emulator_process.h"
#include "support/temp_directory.h"

namespace taloven::emulator::testing {
namespace {

// A reply paced at 20 ms a byte runs for many seconds; SIGTERM must not
// wait for its end.
TEST(Stop, TerminateCutsASlowReplyShort) {
  taloven::testing::TempDirectory work;
  const std::string link = (work.Path() / "tty").string();
  EmulatorProcess printer({"--pty", "--link", link, "--fault-slow", "20"});
  RawLine line(link);
  ASSERT_TRUE(line.Ok());
  // "Leitura X pela porta serial": a text of some hundred bytes.
  line.Write({0x02, 0x04, 0x00, 0x1B, 0x45, 0x60, 0x00});
  ASSERT_EQ(line.Read(3, 2000).size(), 3u);
  const auto asked = std::chrono::steady_clock::now();
  EXPECT_EQ(printer.Stop(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(1));
}

}  // namespace
}  // namespace taloven::emulator::testing
