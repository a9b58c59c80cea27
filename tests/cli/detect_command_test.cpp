#include <gtest/gtest.h>
#include <unistd.h>

#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::CliOutcome;
using testing::RunCliCaptured;

TEST(DetectCommand, PrintsPortModelAndMask) {
  testing::TempDirectory work;
  const std::string link = ::testing::TempDir() + "/cli-detect-" + std::to_string(getpid());
  emulator::testing::EmulatorProcess printer({"--pty", "--link", link, "--model", "ECF-T10"});
  const CliOutcome run = RunCliCaptured({"-C", work.Path().string(), "detect", "--probe", link});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, link + "\nECF-T10             \n0x1000\n");
}

// The GUI falls back to COM1: when nothing answers; the command says so
// and fails, so that a script does not take COM1: for the printer's port.
TEST(DetectCommand, APrinterFoundNowhereIsAFailure) {
  testing::TempDirectory work;
  const std::string missing = (work.Path() / "no-such-line").string();
  const CliOutcome run = RunCliCaptured({"-C", work.Path().string(), "detect", "--probe", missing});
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("N\xC3\xA3o foi poss\xC3\xADvel efetuar a conex\xC3\xA3o\n"),
            std::string::npos)
      << run.err;
}

TEST(DetectCommand, RefusesUnknownArguments) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"detect", "--probe"}, "--probe precisa"},
      {{"detect", "COM1:"}, "argumento desconhecido: COM1:"},
  };
  for (const auto& c : cases) {
    const CliOutcome run = RunCliCaptured(c.args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace taloven
