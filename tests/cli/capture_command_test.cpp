// taloven-cli capture against the virtual printer playing a scanner on a
// pseudo-terminal.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/encoding.h"
#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "formats/mfd_file.h"
#include "formats/symbol_record.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using emulator::testing::EmulatorProcess;
using testing::CliOutcome;
using testing::ReadFileBytes;
using testing::TempDirectory;

class CaptureCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    // The scanner settings come from the profile: a fresh one per test.
    setenv("XDG_CONFIG_HOME", Path("config").c_str(), 1);
  }
  CliOutcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", work_.Path().string(), "--model", "ECF-T08"});
    CliOutcome outcome = testing::RunCliCaptured(args);
    outcome.out = Cp1252ToUtf8(Utf8ToCp1252(outcome.out));
    return outcome;
  }
  std::string Path(const std::string& name) const { return (work_.Path() / name).string(); }

  TempDirectory work_;
};

TEST_F(CaptureCommand, ScannedSymbolsAreSavedAsTheOptionsSay) {
  std::string journal;
  for (int i = 0; i < 1500; ++i) journal += static_cast<char>(i % 97);
  std::string stream;
  for (uint32_t offset : {0u, 668u, 1336u})
    stream += MakeSymbolRecord(1500, offset, journal.substr(offset, kSymbolPayloadBytes));
  std::ofstream(Path("symbols.bin"), std::ios::binary) << stream;

  const struct {
    const char* name;
    std::vector<std::string> scanner, capture;
    int status;
    std::string payload;
    std::vector<std::string> lines;
  } cases[] = {
      {"whole set, one scanned twice",
       {"--repeat", "2"},
       {},
       0,
       journal,
       {"Símbolo lido: 1/3", "Símbolo lido: 2/3", "Símbolo já foi lido", "Símbolo lido: 3/3",
        "Todos os símbolos foram lidos."}},
      {"one skipped, saved partially",
       {"--skip", "2"},
       {"--save-partial", "--timeout", "2"},
       0,
       journal.substr(0, 668) + journal.substr(1336),
       {"Símbolo lido: 1/3", "Símbolo lido: 3/3"}},
      {"one skipped, not saved", {"--skip", "2"}, {"--timeout", "2"}, 1, "", {}},
      {"nothing scanned",
       {"--skip", "1", "--skip", "2", "--skip", "3"},
       {"--timeout", "1"},
       1,
       "",
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(Path("capture.mfd"));
    std::vector<std::string> scanner = {"--scanner",  Path("symbols.bin"), "--link",
                                        Path("scan"), "--symbol-gap",      "200"};
    scanner.insert(scanner.end(), c.scanner.begin(), c.scanner.end());
    EmulatorProcess scannerProcess(scanner);
    std::vector<std::string> capture = {"capture",           "-s",      Path("scan"), "-o",
                                        Path("capture.mfd"), "--rearm", "0"};
    capture.insert(capture.end(), c.capture.begin(), c.capture.end());
    const CliOutcome outcome = Run(capture);
    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    size_t at = 0;
    for (const std::string& line : c.lines) {
      at = outcome.out.find(line + "\n", at);
      EXPECT_NE(at, std::string::npos) << line << " in\n" << outcome.out;
    }
    if (c.status != 0) {
      EXPECT_FALSE(fs::exists(Path("capture.mfd")));
      EXPECT_NE(outcome.err.find("nada foi salvo"), std::string::npos) << outcome.err;
      continue;
    }
    EXPECT_EQ(ReadFileBytes(Path("capture.mfd")), MfdFileBytes(kMfdCaptureSource, c.payload));
  }
  EXPECT_EQ(Run({"capture", "-s", Path("scan")}).status, 1);
  EXPECT_EQ(Run({"capture", "-o", Path("x.mfd"), "--parity", "mark"}).status, 1);
}

// The printer's whole journal, scanned, gives the very file its bitmaps give
// and the same report as its download.
TEST_F(CaptureCommand, ACapturedJournalIsTheDownloadedOne) {
  const std::string state = Path("printer.state");
  fs::create_directory(Path("bitmaps"));
  const std::string emulator = std::string(TALOVEN_EMULATOR_PATH) + " --state " + state;
  ASSERT_EQ(std::system((emulator + " --simulate-days 1").c_str()), 0);
  ASSERT_EQ(std::system((emulator + " --export-scanner " + Path("symbols.bin") +
                         " --export-pdf417 " + Path("bitmaps"))
                            .c_str()),
            0);
  ASSERT_GT(ReadFileBytes(Path("symbols.bin")).size(), 10000u);
  {
    EmulatorProcess scanner(
        {"--scanner", Path("symbols.bin"), "--link", Path("scan"), "--symbol-gap", "200"});
    const CliOutcome captured = Run({"capture", "-s", Path("scan"), "-o", Path("captured.mfd"),
                                     "--rearm", "0", "--timeout", "120"});
    ASSERT_EQ(captured.status, 0) << captured.err;
    EXPECT_NE(captured.out.find("Todos os símbolos foram lidos."), std::string::npos);
  }
  std::vector<std::string> fromBitmaps = {"mfd", "from-bitmaps", Path("bitmaps.mfd")};
  for (const auto& entry : fs::directory_iterator(Path("bitmaps")))
    fromBitmaps.push_back(entry.path().string());
  std::sort(fromBitmaps.begin() + 3, fromBitmaps.end());
  ASSERT_EQ(Run(fromBitmaps).status, 0);
  EXPECT_EQ(ReadFileBytes(Path("captured.mfd")), ReadFileBytes(Path("bitmaps.mfd")));

  {
    EmulatorProcess printer({"--pty", "--link", Path("tty"), "--state", state});
    ASSERT_EQ(Run({"-p", Path("tty"), "mfd", "download", "mfd", Path("downloaded.mfd")}).status, 0);
  }
  ASSERT_EQ(Run({"mfd", "report", Path("captured.mfd"), Path("captured.txt")}).status, 0);
  ASSERT_EQ(Run({"mfd", "report", Path("downloaded.mfd"), Path("downloaded.txt")}).status, 0);
  const std::string report = ReadFileBytes(Path("captured.txt"));
  EXPECT_GT(report.size(), 1000u);
  EXPECT_EQ(report, ReadFileBytes(Path("downloaded.txt")));
}

// Ctrl-C and SIGTERM end a capture through its stop flow, which saves what
// was read; neither may end the program with the capture lost.
TEST_F(CaptureCommand, ASignalStopsTheCaptureAndKeepsWhatWasRead) {
  std::string journal;
  for (int i = 0; i < 1500; ++i) journal += static_cast<char>(i % 89);
  std::string stream;
  for (uint32_t offset : {0u, 668u, 1336u})
    stream += MakeSymbolRecord(1500, offset, journal.substr(offset, kSymbolPayloadBytes));
  std::ofstream(Path("symbols.bin"), std::ios::binary) << stream;
  for (int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    fs::remove(Path("capture.mfd"));
    EmulatorProcess scannerProcess({"--scanner", Path("symbols.bin"), "--link", Path("scan"),
                                    "--symbol-gap", "200", "--skip", "2"});
    std::thread sender([signal] {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      ::kill(::getpid(), signal);
    });
    const CliOutcome outcome = Run({"capture", "-s", Path("scan"), "-o", Path("capture.mfd"),
                                    "--rearm", "0", "--save-partial", "--timeout", "20"});
    sender.join();
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(ReadFileBytes(Path("capture.mfd")),
              MfdFileBytes(kMfdCaptureSource, journal.substr(0, 668) + journal.substr(1336)));
  }
}

}  // namespace
}  // namespace taloven
