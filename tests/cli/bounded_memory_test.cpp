// The tools that read files from the field hold a bounded part of them:
// each command runs as its own process on inputs larger than the bound, and
// the most memory it held resident is read when it ends.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli_process.h"
#include "support/large_inputs.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::CliProcess;
using testing::ReadFileBytes;
using testing::TempDirectory;

constexpr long kBoundKilobytes = 64 * 1024;
constexpr size_t kInputBytes = size_t{72} << 20;

TEST(BoundedMemory, LargeJournalsAndMemoriesAreReadWithinTheBound) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer's shadow memory is no measure of the program's";
#endif
  TempDirectory work;
  const auto Path = [&](const char* name) { return (work.Path() / name).string(); };
  // The diagnosis finds the COOs starting again in every round, so that its
  // findings grow with the report too.
  testing::WriteLargeMemories(Path("j.mfd"), Path("m.mf"), kInputBytes);

  const struct {
    std::vector<std::string> command;
    const char* output;
    size_t leastBytes;  // of the output, so that a command that reads nothing fails
  } cases[] = {
      {{"mfd", "report", Path("j.mfd"), Path("r.txt")}, "r.txt", kInputBytes / 2},
      {{"mfd", "diagnose", Path("r.txt")}, "diagnotico_mfd.txt", 10000},
      {{"mfd", "db", Path("j.mfd"), Path("j.db")}, "j.db", kInputBytes / 2},
      {{"mfd", "mf-report", Path("m.mf"), Path("m.txt"), "--crz", "1", "3", "--simplified"},
       "m.txt",
       100000},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments{"-C", work.Path().string(), "--model", "ECF-T08"};
    arguments.insert(arguments.end(), c.command.begin(), c.command.end());
    CliProcess::Setup setup;
    setup.err = Path("stderr.txt");
    CliProcess cli(arguments, setup);
    const std::optional<int> status = cli.Wait(std::chrono::minutes(2));
    ASSERT_EQ(status, 0) << c.command[1] << ": " << ReadFileBytes(Path("stderr.txt"));
    EXPECT_GT(fs::file_size(Path(c.output)), c.leastBytes) << c.command[1];
    EXPECT_LT(cli.PeakResidentKilobytes(), kBoundKilobytes) << c.command[1];
  }
}

}  // namespace
}  // namespace taloven
