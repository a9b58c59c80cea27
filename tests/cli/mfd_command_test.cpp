#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "formats/journal_record.h"
#include "formats/mfd_file.h"
#include "memories/memory_files.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using emulator::testing::EmulatorProcess;
using testing::CliOutcome;
using testing::ReadFileBytes;
using testing::TempDirectory;

class MfdCommand : public ::testing::Test {
 protected:
  CliOutcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", work_.Path().string(), "--model", "ECF-T08"});
    return testing::RunCliCaptured(args);
  }
  std::string Path(const std::string& name) const { return (work_.Path() / name).string(); }

  TempDirectory work_;
};

TEST_F(MfdCommand, DownloadsAndReportsThroughTheLibrary) {
  const std::string state = Path("printer.state");
  ASSERT_EQ(
      std::system((std::string(TALOVEN_EMULATOR_PATH) + " --state " + state + " --simulate-days 1")
                      .c_str()),
      0);
  EmulatorProcess printer({"--pty", "--link", Path("tty"), "--state", state});
  const std::string journal = ReadFileBytes(emulator::JournalFilePath(state));
  const size_t documents = ScanJournal(journal).entries.size();

  const struct {
    std::vector<std::string> args;
    int status;
    std::string file;
  } cases[] = {
      {{"-p", Path("tty"), "mfd", "download", "mfd", Path("j.mfd")}, 0, "j.mfd"},
      {{"-p", Path("tty"), "mfd", "download", "mf", Path("m.mf")}, 0, "m.mf"},
      {{"-p", Path("tty"), "mfd", "download", "mfd", Path("c.mfd"), "--coo", "1", "3"}, 0, "c.mfd"},
      {{"mfd", "report", Path("j.mfd"), Path("j.txt")}, 0, "j.txt"},
      {{"mfd", "report", Path("j.mfd"), Path("u.txt"), "--coo", "1", "3", "--user", "1"},
       0,
       "u.txt"},
      {{"mfd", "mf-report", Path("m.mf"), Path("m.txt"), "--crz", "1", "1", "--simplified"},
       0,
       "m.txt"},
      {{"mfd", "report", Path("j.mfd"), Path("d.txt"), "--dates", "310226", "010326"}, 3, ""},
      {{"mfd", "report", Path("nothing.mfd"), Path("n.txt")}, 6, ""},
      {{"mfd", "report", Path("j.mfd")}, 1, ""},
      {{"mfd", "report", Path("j.mfd"), Path("x.txt"), "--user", "2"}, 1, ""},
      {{"mfd", "mf-report", Path("m.mf"), Path("x.txt")}, 1, ""},
      {{"mfd", "upload"}, 1, ""},
  };
  for (const auto& c : cases) {
    const CliOutcome outcome = Run(c.args);
    EXPECT_EQ(outcome.status, c.status) << c.args[2] << " " << outcome.err;
    EXPECT_EQ(outcome.err.find("taloven-cli: ") != std::string::npos, c.status != 0) << outcome.err;
    EXPECT_TRUE(c.file.empty() || fs::exists(Path(c.file))) << c.file;
  }
  for (const char* failed : {"d.txt", "n.txt", "x.txt"}) EXPECT_FALSE(fs::exists(Path(failed)));

  // Inputs larger than any download are refused unread, and said to be.
  for (const auto& [name, size] : {std::pair{"huge.mfd", kLargestMfdFileBytes + 1},
                                   std::pair{"huge.mf", kLargestImageBytes + 1}}) {
    std::ofstream(Path(name)).put('\0');
    fs::resize_file(Path(name), size);
    std::vector<std::string> args{"mfd", "report", Path(name), Path("h.txt")};
    if (std::string(name) == "huge.mf")
      args = {"mfd", "mf-report", Path(name), Path("h.txt"), "--crz", "1", "2"};
    const CliOutcome refused = Run(args);
    EXPECT_EQ(refused.status, 6) << refused.err;
    EXPECT_NE(refused.err.find("mais do que uma mem"), std::string::npos) << refused.err;
  }
  EXPECT_FALSE(fs::exists(Path("h.txt")));
  const std::string report = ReadFileBytes(Path("j.txt"));
  size_t coos = 0;
  for (size_t at = report.find(" COO:"); at != std::string::npos; at = report.find(" COO:", at + 1))
    ++coos;
  EXPECT_EQ(coos, documents);
  const std::string three = ReadFileBytes(Path("u.txt"));
  EXPECT_NE(three.find("COO:000003\r\n"), std::string::npos);
  EXPECT_EQ(three.find("COO:000004"), std::string::npos);
}

}  // namespace
}  // namespace taloven
