#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using emulator::testing::EmulatorProcess;
using testing::CliOutcome;
using testing::TempDirectory;

// The commands talk to a virtual printer on a pseudo-terminal, from a working
// directory of their own with the sample catalogue.
class BytesOnTheWire : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(TALOVEN_SOURCE_DIR "/data/comandos.xml", work_.Path() / "comandos.xml");
  }

  CliOutcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", work_.Path().string(), "-p", link_});
    return testing::RunCliCaptured(args);
  }

  TempDirectory work_;
  std::string link_ = (work_.Path() / "printer").string();
  EmulatorProcess printer_{{"--pty", "--link", link_}};
};

struct RawCase {
  std::vector<std::string> args;
  int status;
  std::vector<std::string> shown;  // pieces the output holds
};

TEST_F(BytesOnTheWire, RawSendsAnyBytesAndShowsTheReply) {
  const RawCase cases[] = {
      // Flags fiscais, framed as a command is, one data byte after the header.
      {{"raw", "23 11", "--reply-size", "1"},
       0,
       {"> 02 05 00 1B 23 11 4F 00\n< 06 ", "\r\nComando:\tBytes avulsos\r\n"}},
      {{"-x", "raw", "2311", "--reply-size", "1"},
       0,
       {"> 02 05 00 1C 23 11 50 00\n< 06 ", "COMANDO OK"}},
      // The printer refuses to cancel a coupon that is not open: as send.
      {{"raw", "0E", "--reply-size", "0"}, 10, {"> 02 04 00 1B 0E 29 00\n< 06 ", "CANCELAMENTO"}},
      // A reading to ETX.
      {{"raw", "45"}, 0, {"> 02 04 00 1B 45 60 00\n< 06 00 00 ", " 03\n", "FAB:TV"}},
      // A wrong checksum, sent as it is, draws the printer's lone NAK.
      {{"--timeout", "2", "raw", "--bytes", "02 04 00 1B 0E 00 00", "--reply-size", "0"},
       4,
       {"> 02 04 00 1B 0E 00 00\n< 15\n", "Falha no envio do comando"}},
  };
  for (const RawCase& c : cases) {
    SCOPED_TRACE(c.args[1]);
    const CliOutcome run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    for (const std::string& piece : c.shown)
      EXPECT_NE(run.out.find(piece), std::string::npos) << run.out;
  }
  EXPECT_FALSE(fs::is_empty(work_.Path() / "log")) << "raw exchanges are logged as send's";
}

TEST_F(BytesOnTheWire, RawRefusesWhatIsNotBytes) {
  const std::vector<std::string> cases[] = {
      {"raw"},
      {"raw", "2"},
      {"raw", "zz"},
      {"raw", "23", "--reply-size"},
      {"raw", "23", "--reply-size", "-1"},
      {"raw", "--bytes"},
  };
  for (const auto& args : cases) {
    const CliOutcome run = Run(args);
    EXPECT_EQ(run.status, 1) << args.back();
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_FALSE(fs::exists(work_.Path() / "log")) << "nothing was sent";
}

TEST_F(BytesOnTheWire, TraceHoldsEveryByteOfEveryExchangeWithItsTime) {
  const std::string trace = (work_.Path() / "trace.txt").string();
  // The printer refuses to cancel a coupon that is not open.
  ASSERT_EQ(Run({"--trace", trace, "send", "Cancela cupom fiscal"}).status, 10);
  ASSERT_EQ(Run({"--trace", trace, "raw", "23 11", "--reply-size", "1"}).status, 0);
  const std::string text = testing::ReadFileBytes(trace);
  const std::regex expected(
      "\\d\\d:\\d\\d:\\d\\d\\.\\d{3} > 02 04 00 1B 0E 29 00\n"
      "\\d\\d:\\d\\d:\\d\\d\\.\\d{3} < 06 [0-9A-F]{2} [0-9A-F]{2}\n"
      "\n"
      "\\d\\d:\\d\\d:\\d\\d\\.\\d{3} > 02 05 00 1B 23 11 4F 00\n"
      "\\d\\d:\\d\\d:\\d\\d\\.\\d{3} < 06( [0-9A-F]{2}){3}\n"
      "\n");
  EXPECT_TRUE(std::regex_match(text, expected)) << text;
  EXPECT_EQ(std::getenv("TALOVEN_TRACE"), nullptr) << "the trace ends with its command";
}

TEST_F(BytesOnTheWire, ATraceThatCannotBeWrittenStopsTheCommandBeforeItSends) {
  const CliOutcome run =
      Run({"--trace", (work_.Path() / "no-such-folder" / "t.txt").string(), "send", "9"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("No such file or directory"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(work_.Path() / "log"));
}

}  // namespace
}  // namespace taloven
