// Ctrl-C or SIGTERM while a report, database or fiscal-memory reading goes
// through a large input ends it as a cancelled command ends: status 5, the
// earlier output byte for byte, and no temporary file left beside it.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "support/cli_process.h"
#include "support/large_inputs.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::CliProcess;
using testing::ReadFileBytes;
using testing::TempDirectory;
using Clock = std::chrono::steady_clock;

constexpr const char* kEarlier = "an earlier output, to be kept";

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// Whether the output's temporary file is there: the work is under way.
bool Writing(const fs::path& folder, const std::string& output) {
  for (const std::string& name : Names(folder))
    if (name.rfind(output + ".", 0) == 0) return true;
  return false;
}

TEST(ReadingCancel, ASignalMidWorkKeepsTheEarlierFileAndLeavesNothingBehind) {
  TempDirectory work;
  const auto Path = [&](const char* name) { return (work.Path() / name).string(); };
  // Large enough that every command takes most of a second at least.
  testing::WriteLargeMemories(Path("j.mfd"), Path("m.mf"), size_t{72} << 20);

  const struct {
    std::vector<std::string> command;
    const char* output;
    int signal;
  } cases[] = {
      {{"mfd", "report", Path("j.mfd"), Path("r.txt")}, "r.txt", SIGTERM},
      {{"mfd", "db", Path("j.mfd"), Path("j.db")}, "j.db", SIGTERM},
      {{"mfd", "db", Path("j.mfd"), Path("j.db"), "--coo", "1", "999999"}, "j.db", SIGINT},
      {{"mfd", "mf-report", Path("m.mf"), Path("m.txt"), "--crz", "1", "999999"}, "m.txt", SIGTERM},
  };
  for (const auto& c : cases) {
    const std::string name = c.command[1] + " " + c.output;
    std::ofstream(work.Path() / c.output) << kEarlier;
    std::set<std::string> before = Names(work.Path());
    before.erase("stderr.txt");
    std::vector<std::string> arguments{"-C", work.Path().string(), "--model", "ECF-T08"};
    arguments.insert(arguments.end(), c.command.begin(), c.command.end());
    CliProcess::Setup setup;
    setup.err = Path("stderr.txt");
    CliProcess cli(arguments, setup);
    const Clock::time_point start = Clock::now();
    while (!Writing(work.Path(), c.output) && Clock::now() - start < std::chrono::seconds(20))
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const Clock::time_point signalled = Clock::now();
    cli.Signal(c.signal);
    const std::optional<int> status = cli.Wait(std::chrono::seconds(20));
    const auto late = Clock::now() - signalled;
    const std::string err = ReadFileBytes(Path("stderr.txt"));
    ASSERT_TRUE(status.has_value()) << name << ": never ended";
    EXPECT_EQ(*status, 5) << name << ": " << err;
    EXPECT_NE(err.find("Comando cancelado."), std::string::npos) << name << ": " << err;
    // The library looks every tenth of a second.
    EXPECT_LT(late, std::chrono::seconds(2)) << name;
    EXPECT_EQ(ReadFileBytes(work.Path() / c.output), kEarlier) << name;
    std::set<std::string> after = Names(work.Path());
    after.erase("stderr.txt");
    EXPECT_EQ(after, before) << name;
  }
}

}  // namespace
}  // namespace taloven
