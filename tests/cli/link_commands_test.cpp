#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::CliOutcome;
using testing::TempDirectory;

// The commands run on the sample catalogue, copied into a working directory
// of their own so that the daily log lands there.
class LinkCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(TALOVEN_SOURCE_DIR "/data/comandos.xml", work_.Path() / "comandos.xml");
  }

  CliOutcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"-C", work_.Path().string()});
    return testing::RunCliCaptured(args);
  }

  TempDirectory work_;
};

struct FrameCase {
  std::vector<std::string> args;
  int status;
  std::string out;
};

class FrameCommand : public LinkCommands, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FrameCommand, PrintsTheFrameOrWhyNot) {
  const CliOutcome run = Run(GetParam().args);
  EXPECT_EQ(run.status, GetParam().status) << run.err;
  EXPECT_EQ(run.out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    SampleCatalogue, FrameCommand,
    ::testing::Values(FrameCase{{"frame", "9"}, 0, "02 04 00 1B 0E 29 00\n"},
                      FrameCase{{"frame", "Cancela cupom fiscal"}, 0, "02 04 00 1B 0E 29 00\n"},
                      FrameCase{{"-x", "frame", "9"}, 0, "02 04 00 1C 0E 2A 00\n"},
                      FrameCase{{"frame", "11", "12,34"},
                                0,
                                "02 12 00 1B 19 30 30 30 30 30 30 30 30 30 30 31 32 33 34 DE 02\n"},
                      FrameCase{{"frame", "3", "1234"}, 3, "Parâmetro com tamanho errado\n"},
                      FrameCase{{"frame", "11"}, 2, "Parâmetro obrigatório não preenchido\n"},
                      FrameCase{{"frame", "999"}, 1, ""},
                      FrameCase{{"frame", "Comando que não existe"}, 1, ""},
                      FrameCase{{"frame", "9", "sobra"}, 1, ""}, FrameCase{{"frame"}, 1, ""}));

struct DecodeCase {
  std::vector<std::string> args;
  int status;
  std::string out;
};

class DecodeCommand : public LinkCommands, public ::testing::WithParamInterface<DecodeCase> {};

TEST_P(DecodeCommand, PrintsTheResultsOfTheBytes) {
  const CliOutcome run = Run(GetParam().args);
  EXPECT_EQ(run.status, GetParam().status) << run.err;
  if (GetParam().status != 1) {
    EXPECT_EQ(run.out, GetParam().out);
  } else {
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(run.err.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    SampleCatalogue, DecodeCommand,
    ::testing::Values(
        DecodeCase{{"decode", "Leitura X pela porta serial", "06 00 00 4C 58 0A 87 03"},
                   0,
                   "COMANDO OK\r\nLX\r\nç\n"},
        DecodeCase{{"decode", "18", "060000", "414203"}, 0, "COMANDO OK\r\nAB\n"},
        DecodeCase{{"decode", "9", "06"},
                   4,
                   "\r\nComando:\tCancela cupom fiscal\r\nFalha no envio do comando\n"},
        DecodeCase{{"decode", "18", "06 00 00 41"}, 1, ""},
        DecodeCase{{"decode", "18", "06 0"}, 1, ""}, DecodeCase{{"decode", "18", "zz"}, 1, ""},
        DecodeCase{{"decode", "18"}, 1, ""}));

TEST_F(LinkCommands, DecodeOfAFixedReplyShowsItsStatus) {
  const CliOutcome run = Run({"decode", "9", "06 00 00"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("\r\nComando:\tCancela cupom fiscal\r\n", 0), 0u);
  EXPECT_NE(run.out.find("COMANDO OK"), std::string::npos);
  EXPECT_FALSE(fs::exists(work_.Path() / "log"));  // nothing was sent
}

TEST_F(LinkCommands, SendExchangesWithAPrinterOnAPseudoTerminalAndLogsIt) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string path = ptsname(master);
  const int keeper = open(path.c_str(), O_RDWR | O_NOCTTY);
  std::string frame;
  std::thread printer([&] {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (frame.size() < 7 && std::chrono::steady_clock::now() < end) {
      pollfd watch{master, POLLIN, 0};
      if (poll(&watch, 1, 20) <= 0) continue;
      char buffer[64];
      const ssize_t n = read(master, buffer, sizeof buffer);
      if (n > 0) frame.append(buffer, static_cast<size_t>(n));
    }
    (void)!write(master, "\x06\x00\x00", 3);
  });
  const CliOutcome run = Run({"-p", path, "send", "Cancela cupom fiscal"});
  printer.join();
  close(keeper);
  close(master);

  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(frame, std::string("\x02\x04\x00\x1B\x0E\x29\x00", 7));
  EXPECT_NE(run.out.find("COMANDO OK"), std::string::npos);
  ASSERT_TRUE(fs::is_directory(work_.Path() / "log"));
  EXPECT_FALSE(fs::is_empty(work_.Path() / "log"));
}

TEST_F(LinkCommands, SendWithoutAnAnswerEndsWithStatusFour) {
  TempDirectory drive;
  setenv("TALOVEN_DRIVE_C", drive.Path().c_str(), 1);
  const CliOutcome run = Run({"-p", "FILE", "send", "9"});
  unsetenv("TALOVEN_DRIVE_C");
  EXPECT_EQ(run.status, 4) << run.err;
  EXPECT_NE(run.out.find("Falha no envio do comando"), std::string::npos);
  EXPECT_FALSE(fs::is_empty(work_.Path() / "log"));
}

TEST_F(LinkCommands, SendThatCannotLogExitsWithEightAndKeepsTheResult) {
  const std::string link = (work_.Path() / "printer").string();
  emulator::testing::EmulatorProcess printer({"--pty", "--link", link});
  std::ofstream(work_.Path() / "log") << "a file where the directory should be";
  const CliOutcome run = Run({"-p", link, "send", "Cancela cupom fiscal"});
  EXPECT_EQ(run.status, 8);
  EXPECT_NE(run.out.find("Cancela cupom fiscal"), std::string::npos) << "results still shown";
  EXPECT_NE(run.err.find((work_.Path() / "log").string()), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Not a directory"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("resultado do comando: 0"), std::string::npos) << run.err;
}

TEST_F(LinkCommands, AnUnusablePortFailsAtOnceWithItsNameAndTheReason) {
  const struct {
    std::string port;
    const char* reason;
  } cases[] = {
      {(work_.Path() / "no-such-line").string(), "No such file or directory"},
      {work_.Path().string(), "Is a directory"},
      {"COM9:", "No such file or directory"},
      {"/dev/null", "Inappropriate ioctl for device"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.port);
    fs::remove_all(work_.Path() / "log");
    const auto start = std::chrono::steady_clock::now();
    const CliOutcome run = Run({"-p", c.port, "send", "Cancela cupom fiscal"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(run.status, 4);
    const std::string where = "Porta \"" + c.port + "\": " + c.reason;
    EXPECT_NE(run.out.find("Falha no envio do comando\r\n" + where), std::string::npos) << run.out;
    ASSERT_TRUE(fs::is_directory(work_.Path() / "log"));
    for (const auto& file : fs::directory_iterator(work_.Path() / "log"))
      EXPECT_NE(testing::ReadFileBytes(file.path()).find(where), std::string::npos);
  }
}

TEST_F(LinkCommands, SendRefusesParameterErrorsBeforeAnyPort) {
  const CliOutcome run = Run({"-p", "/dev/taloven-no-such-line", "send", "11"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.out.find("Parâmetro obrigatório não preenchido"), std::string::npos);
  EXPECT_FALSE(fs::exists(work_.Path() / "log"));
}

}  // namespace
}  // namespace taloven
