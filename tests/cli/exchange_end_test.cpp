#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "support/cli_process.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testing::CliProcess;

struct EndCase {
  const char* name;
  std::vector<std::string> printer;  // emulator faults; empty: no one serves the file exchange
  std::vector<std::string> options;  // global options of the CLI
  int signal;                        // sent a moment after the start, or 0
  int status;
  const char* text;         // in the results and in the day's log
  bool inSequence = false;  // sent by "sequence run" rather than "send"
};

void PrintTo(const EndCase& c, std::ostream* os) {
  *os << c.name;
}

class ExchangeEnd : public ::testing::TestWithParam<EndCase> {};

// "Leitura X pela porta serial" (18) has a variable reply: its text is waited
// for without a miss limit, so only a cancel or the time-out can end it.
TEST_P(ExchangeEnd, AnEndlessReplyEndsWithItsResultAndItsLogRecord) {
  const EndCase& c = GetParam();
  testing::TempDirectory work, driveC;
  fs::copy_file(TALOVEN_SOURCE_DIR "/data/comandos.xml", work.Path() / "comandos.xml");
  std::optional<emulator::testing::EmulatorProcess> printer;
  std::string port = "FILE";
  if (!c.printer.empty()) {
    port = (work.Path() / "printer").string();
    std::vector<std::string> arguments{"--pty", "--link", port};
    arguments.insert(arguments.end(), c.printer.begin(), c.printer.end());
    printer.emplace(arguments);
  }
  std::vector<std::string> arguments{"-C", work.Path().string(), "-p", port};
  arguments.insert(arguments.end(), c.options.begin(), c.options.end());
  if (c.inSequence) {
    for (std::vector<std::string> step : {std::vector<std::string>{"new", "leitura"},
                                          std::vector<std::string>{"add", "leitura", "18"}}) {
      step.insert(step.begin(), {"-C", work.Path().string(), "sequence"});
      const testing::CliOutcome made = testing::RunCliCaptured(step);
      ASSERT_EQ(made.status, 0) << made.err;
    }
    arguments.insert(arguments.end(), {"sequence", "run", "leitura"});
  } else {
    arguments.insert(arguments.end(), {"send", "18"});
  }

  const auto start = Clock::now();
  CliProcess cli(
      arguments,
      {{"TALOVEN_DRIVE_C=" + driveC.Path().string()}, 0, (work.Path() / "stdout.txt").string()});
  if (c.signal) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    cli.Signal(c.signal);
  }
  const std::optional<int> status = cli.Wait(std::chrono::seconds(15));
  ASSERT_TRUE(status.has_value()) << "the exchange never ended";
  EXPECT_EQ(*status, c.status);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(8));

  EXPECT_NE(testing::ReadFileBytes(work.Path() / "stdout.txt").find(c.text), std::string::npos);
  ASSERT_TRUE(fs::is_directory(work.Path() / "log"));
  std::string log;
  for (const auto& file : fs::directory_iterator(work.Path() / "log"))
    log += testing::ReadFileBytes(file.path());
  EXPECT_NE(log.find("Leitura X pela porta serial"), std::string::npos);
  EXPECT_NE(log.find(c.text), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(
    CancelAndTimeout, ExchangeEnd,
    ::testing::Values(EndCase{"InterruptDuringAStalledText",
                              {"--fault-stall", "10"},
                              {},
                              SIGINT,
                              5,
                              "Comando cancelado."},
                      EndCase{"TerminateAfterTheLineDropped",
                              {"--fault-close"},
                              {},
                              SIGTERM,
                              5,
                              "Comando cancelado."},
                      EndCase{
                          "InterruptWithNobodyAtTheFile", {}, {}, SIGINT, 5, "Comando cancelado."},
                      EndCase{"TimeoutOfAStalledText",
                              {"--fault-stall", "10"},
                              {"--timeout", "2"},
                              0,
                              4,
                              "Falha no envio do comando"},
                      EndCase{"TimeoutAfterTheLineDropped",
                              {"--fault-close"},
                              {"--timeout", "2"},
                              0,
                              4,
                              "Falha no envio do comando"},
                      EndCase{"TimeoutWithNobodyAtTheFile",
                              {},
                              {"--timeout", "2"},
                              0,
                              4,
                              "Falha no envio do comando"},
                      EndCase{"InterruptOfASequence",
                              {"--fault-stall", "10"},
                              {},
                              SIGINT,
                              5,
                              "Comando cancelado.",
                              true},
                      EndCase{"TimeoutInASequence",
                              {"--fault-stall", "10"},
                              {"--timeout", "2"},
                              0,
                              4,
                              "Falha no envio do comando",
                              true}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace taloven
