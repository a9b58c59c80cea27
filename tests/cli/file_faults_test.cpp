// The CLI's fiscal-memory and capture commands under faults, as processes
// against the virtual printer: a signal, an output that cannot be written,
// a scanner that hangs up, a memory limit. Each row says how the command
// must end and which earlier file must survive byte for byte.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "emulator/emulator_process.h"
#include "support/cli_process.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using emulator::testing::EmulatorProcess;
using testing::CliProcess;
using testing::ReadFileBytes;
using testing::TempDirectory;

constexpr const char* kEarlier = "an earlier download, to be kept";

enum class Then { kNothing, kInterrupt, kTerminate, kUnplugPrinter };

struct FaultCase {
  const char* name;
  std::vector<std::string> printer;  // emulator arguments; {WORK} is the work folder
  std::vector<std::string> command;  // CLI arguments after -C WORK
  Then then;                         // done 1.5 s after the start
  int status;
  const char* err;        // on stderr
  const char* output;     // a file in WORK: holds kEarlier before, and after when status != 0
  const char* made = "";  // a file in WORK the command must have written
  size_t memoryLimit = 0;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.name;
}

std::vector<std::string> InWork(std::vector<std::string> args, const fs::path& work) {
  for (std::string& a : args)
    if (a.rfind("{WORK}", 0) == 0) a = (work / a.substr(6)).string();
  return args;
}

class FileFaults : public ::testing::TestWithParam<FaultCase> {
 protected:
  static void SetUpTestSuite() {
    shared_ = new TempDirectory;
    const std::string emulator =
        std::string(TALOVEN_EMULATOR_PATH) + " --state " + (shared_->Path() / "state").string();
    ASSERT_EQ(std::system((emulator + " --simulate-days 1").c_str()), 0);
    ASSERT_EQ(
        std::system(
            (emulator + " --export-scanner " + (shared_->Path() / "symbols.bin").string()).c_str()),
        0);
  }
  static void TearDownTestSuite() { delete shared_; }
  static TempDirectory* shared_;
};

TempDirectory* FileFaults::shared_ = nullptr;

TEST_P(FileFaults, TheCommandEndsAsItShouldAndTheEarlierFileSurvives) {
  const FaultCase& c = GetParam();
#if defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer reserves terabytes of address space at start-up, so no
  // process of this build can start under a limit on it.
  if (c.memoryLimit != 0) GTEST_SKIP() << "no memory limit under AddressSanitizer";
#endif
  TempDirectory work;
  // The state and the memories kept beside it.
  for (const auto& entry : fs::directory_iterator(shared_->Path()))
    fs::copy_file(entry.path(), work.Path() / entry.path().filename());
  fs::create_directory(work.Path() / "folder");
  if (*c.output != '\0') std::ofstream(work.Path() / c.output) << kEarlier;
  // Two gigabytes that take no room on disk, only in memory when read.
  std::ofstream(work.Path() / "huge.mfd").put('\0');
  fs::resize_file(work.Path() / "huge.mfd", uintmax_t{2} << 30);
  std::optional<EmulatorProcess> printer;
  if (!c.printer.empty()) printer.emplace(InWork(c.printer, work.Path()));

  std::vector<std::string> arguments{"-C", work.Path().string(), "--model", "ECF-T08"};
  for (const std::string& a : InWork(c.command, work.Path())) arguments.push_back(a);
  CliProcess::Setup setup;
  setup.err = (work.Path() / "stderr.txt").string();
  setup.out = (work.Path() / "stdout.txt").string();
  setup.memoryLimit = c.memoryLimit;
  CliProcess cli(arguments, setup);
  if (c.then != Then::kNothing) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    if (c.then == Then::kUnplugPrinter)
      printer->Stop();
    else
      cli.Signal(c.then == Then::kInterrupt ? SIGINT : SIGTERM);
  }
  const std::optional<int> status = cli.Wait(std::chrono::seconds(20));
  ASSERT_TRUE(status.has_value()) << "the command never ended";
  const std::string err = ReadFileBytes(work.Path() / "stderr.txt");
  const std::string out = ReadFileBytes(work.Path() / "stdout.txt");
  EXPECT_EQ(*status, c.status) << err;
  EXPECT_NE(err.find(c.err), std::string::npos) << err;
  if (*c.output != '\0' && c.status != 0) {
    EXPECT_EQ(ReadFileBytes(work.Path() / c.output), kEarlier);
  }
  if (*c.made != '\0') {
    EXPECT_TRUE(fs::exists(work.Path() / c.made)) << out;
  }
  // A lost scanner is told once, not once per re-arm.
  const size_t lost = out.find("captura encerrada");
  if (lost != std::string::npos) {
    EXPECT_EQ(out.find("captura encerrada", lost + 1), std::string::npos);
  }
}

const std::vector<std::string> kSlowPrinter = {
    "--pty", "--link", "{WORK}tty", "--state", "{WORK}state", "--fault-slow", "1"};
const std::vector<std::string> kPrinter = {"--pty", "--link", "{WORK}tty", "--state",
                                           "{WORK}state"};
const std::vector<std::string> kScanner = {"--scanner",  "{WORK}symbols.bin", "--link",
                                           "{WORK}scan", "--symbol-gap",      "100"};

INSTANTIATE_TEST_SUITE_P(
    Table, FileFaults,
    ::testing::Values(FaultCase{"DownloadTerminated",
                                kSlowPrinter,
                                {"-p", "{WORK}tty", "mfd", "download", "mfd", "{WORK}j.mfd"},
                                Then::kTerminate,
                                5,
                                "Comando cancelado.",
                                "j.mfd"},
                      FaultCase{"DownloadInterrupted",
                                kSlowPrinter,
                                {"-p", "{WORK}tty", "mfd", "download", "mf", "{WORK}m.mf"},
                                Then::kInterrupt,
                                5,
                                "Comando cancelado.",
                                "m.mf"},
                      FaultCase{"DownloadOntoADirectory",
                                kPrinter,
                                {"-p", "{WORK}tty", "mfd", "download", "mf", "{WORK}folder"},
                                Then::kNothing,
                                7,
                                "Não foi possível gravar o arquivo ",
                                ""},
                      FaultCase{"DownloadIntoAMissingFolder",
                                kPrinter,
                                {"-p", "{WORK}tty", "mfd", "download", "sb", "{WORK}nowhere/s.bin"},
                                Then::kNothing,
                                7,
                                "nowhere/s.bin: ",
                                ""},
                      FaultCase{"ScannerHangsUp",
                                kScanner,
                                {"capture", "-s", "{WORK}scan", "-o", "{WORK}c.mfd", "--rearm", "0",
                                 "--save-partial"},
                                Then::kUnplugPrinter,
                                0,
                                "",
                                "",
                                "c.mfd"},
                      FaultCase{"CaptureTerminated",
                                kScanner,
                                {"capture", "-s", "{WORK}scan", "-o", "{WORK}c.mfd", "--rearm", "0",
                                 "--save-partial"},
                                Then::kTerminate,
                                0,
                                "",
                                "",
                                "c.mfd"},
                      FaultCase{"HugeJournalUnderAMemoryLimit",
                                {},
                                {"mfd", "report", "{WORK}huge.mfd", "{WORK}huge.txt"},
                                Then::kNothing,
                                6,
                                "Arquivos sem dados válidos.",
                                "huge.txt",
                                "",
                                size_t{768} << 20}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace taloven
