#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/cli_process.h"
#include "support/silent_listener.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using Clock = std::chrono::steady_clock;

// Ctrl-C or SIGTERM while a connection hangs ends the command at once, with
// the cancelled status, whichever flow was connecting.
TEST(NetworkCancel, ASignalStopsAConnectionThatNeverAnswers) {
  testing::TempDirectory work;
  std::filesystem::copy_file(TALOVEN_SOURCE_DIR "/data/comandos.xml", work.Path() / "comandos.xml");
  testing::SilentListener silent;
  const std::string image = (work.Path() / "out.mfd").string();
  const std::string capture = (work.Path() / "capture.mfd").string();
  const struct {
    const char* what;
    std::vector<std::string> args;
  } cases[] = {
      {"a command", {"-p", silent.Url(), "send", "Leitura X pela porta serial"}},
      {"a download", {"-p", silent.Url("rfc2217"), "mfd", "download", "mfd", image}},
      {"a capture", {"capture", "-s", silent.Url(), "-o", capture, "--timeout", "20"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> args = {"-C", work.Path().string(), "--model", "ECF-T08"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    testing::CliProcess::Setup setup;
    setup.environment = {"XDG_CONFIG_HOME=" + (work.Path() / "config").string()};
    setup.err = (work.Path() / "err.txt").string();
    testing::CliProcess cli(args, setup);
    // Long enough to be connecting, well short of the connection's time-out.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    const auto signalled = Clock::now();
    cli.Signal(SIGTERM);
    const std::optional<int> status = cli.Wait(std::chrono::milliseconds(3000));
    EXPECT_LT(Clock::now() - signalled, std::chrono::milliseconds(1000));
    EXPECT_EQ(status, 5) << testing::ReadFileBytes((work.Path() / "err.txt").string());
    EXPECT_FALSE(std::filesystem::exists(image));
  }
}

}  // namespace
}  // namespace taloven
