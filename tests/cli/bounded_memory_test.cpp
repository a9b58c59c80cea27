// The tools that read files from the field hold a bounded part of them:
// each command runs as its own process on inputs larger than the bound, and
// the most memory it held resident is read when it ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "printer/reports.h"
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
  const emulator::PrinterState state =
      testing::WriteLargeMemories(Path("j.mfd"), Path("m.mf"), kInputBytes);
  // The compare finds no difference only if it reads the last reading of
  // LX2B, after megabytes of the first one.
  const int64_t firstDay = testing::kLargeInputsFirstDay;
  const std::string first =
      emulator::XReadingText(emulator::DefaultPrinterState("ECF-T08"), firstDay);
  const std::string last = emulator::XReadingText(state, firstDay + 31 * 86400);
  for (const char* name : {"LX1.txt", "LX1B.txt"}) std::ofstream(Path(name)) << first;
  std::ofstream(Path("LX2.txt")) << last;
  testing::WriteRepeated(Path("LX2B.txt"), "", first, last, kInputBytes);

  const struct {
    std::vector<std::string> command;
    const char* output;  // the standard output when no file is named
    size_t leastBytes;   // of the output, so that a command that reads nothing fails
  } cases[] = {
      {{"mfd", "report", Path("j.mfd"), Path("r.txt")}, "r.txt", kInputBytes / 2},
      {{"mfd", "diagnose", Path("r.txt")}, "diagnotico_mfd.txt", 10000},
      {{"mfd", "db", Path("j.mfd"), Path("j.db")}, "j.db", kInputBytes / 2},
      {{"mfd", "mf-report", Path("m.mf"), Path("m.txt"), "--crz", "1", "3", "--simplified"},
       "m.txt",
       100000},
      {{"verify", "compare"}, "compare.txt", 1000},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments{"-C", work.Path().string(), "--model", "ECF-T08"};
    arguments.insert(arguments.end(), c.command.begin(), c.command.end());
    CliProcess::Setup setup;
    setup.err = Path("stderr.txt");
    setup.out = Path("compare.txt");
    CliProcess cli(arguments, setup);
    const std::optional<int> status = cli.Wait(std::chrono::minutes(2));
    ASSERT_EQ(status, 0) << c.command[1] << ": " << ReadFileBytes(Path("stderr.txt"));
    EXPECT_GT(fs::file_size(Path(c.output)), c.leastBytes) << c.command[1];
    EXPECT_LT(cli.PeakResidentKilobytes(), kBoundKilobytes) << c.command[1];
  }
}

}  // namespace
}  // namespace taloven
