#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include "emulator/emulator_process.h"
#include "printer/wire_frame.h"

namespace taloven::emulator::testing {
namespace {

const std::vector<uint8_t> kIdentity = BuildFrame(kEsc, {35, 60});

std::string Model(const std::vector<uint8_t>& reply) {
  return reply.size() == 45 ? std::string(reply.begin() + 16, reply.begin() + 36) : "";
}

std::string TempDirectory(const std::string& name) {
  const std::string path = ::testing::TempDir() + "/" + name + std::to_string(getpid());
  mkdir(path.c_str(), 0700);
  return path;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

TEST(PtyLine, AnswersThroughTheLinkAndRemovesItOnStop) {
  const std::string link = TempDirectory("pty") + "/ttyECF";
  EmulatorProcess emulator({"--pty", "--link", link, "--model", "ECF-T11"});
  ASSERT_EQ(emulator.Address().rfind("/dev/pts/", 0), 0u) << emulator.Address();
  RawLine line(link);
  ASSERT_TRUE(line.Ok());

  line.Write(kIdentity);
  EXPECT_EQ(Model(line.Read(45)), "ECF-T11             ");

  std::vector<uint8_t> corrupted = kIdentity;
  corrupted.back() ^= 0x01;
  line.Write(corrupted);
  EXPECT_EQ(line.Read(1), std::vector<uint8_t>{kNak});

  // A frame cut short is refused once the line has been quiet a while.
  line.Write({kIdentity.begin(), kIdentity.begin() + 4});
  EXPECT_EQ(line.Read(1), std::vector<uint8_t>{kNak});

  EXPECT_EQ(emulator.Stop(), 0);
  EXPECT_FALSE(Exists(link));
}

TEST(PtyLine, PacesRepliesAtTheGivenBaudRate) {
  const std::string link = TempDirectory("baud") + "/ttyECF";
  EmulatorProcess emulator({"--pty", "--link", link, "--baud", "2400"});
  RawLine line(link);
  ASSERT_TRUE(line.Ok());
  const auto start = std::chrono::steady_clock::now();
  line.Write(kIdentity);
  ASSERT_EQ(line.Read(45).size(), 45u);
  // 44 byte times of 11 bits at 2400 bit/s lie between the first and the
  // last byte: a real line cannot be quicker.
  EXPECT_GE(std::chrono::steady_clock::now() - start,
            std::chrono::milliseconds(44 * 11 * 1000 / 2400));
}

TEST(PtyLine, DroppedLineComesBackUnderTheSameLink) {
  const std::string link = TempDirectory("close") + "/ttyECF";
  EmulatorProcess emulator({"--pty", "--link", link, "--fault-close", "--fault-count", "1"});
  {
    RawLine line(link);
    ASSERT_TRUE(line.Ok());
    line.Write(kIdentity);
    EXPECT_EQ(line.Read(45).size(), 22u);
  }
  // The new line appears under the link a moment after the old one dropped.
  std::unique_ptr<RawLine> again;
  for (int tries = 0; tries < 100 && !(again && again->Ok()); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    again = std::make_unique<RawLine>(link);
  }
  ASSERT_TRUE(again->Ok());
  again->Write(kIdentity);
  EXPECT_EQ(Model(again->Read(45)), "ECF-T08             ");
}

TEST(FileExchange, AnswersThroughTheFilesOfDriveC) {
  const std::string drive = TempDirectory("drive");
  EmulatorProcess emulator({"--file"}, {"TALOVEN_DRIVE_C=" + drive});
  EXPECT_EQ(emulator.Address(), drive);
  {
    std::ofstream command(drive + "/comando.dat", std::ios::binary | std::ios::app);
    command.write(reinterpret_cast<const char*>(kIdentity.data()), kIdentity.size());
  }
  std::vector<uint8_t> reply;
  for (int tries = 0; tries < 200 && reply.size() < 45; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(drive + "/retorno.dat", std::ios::binary);
    reply.assign(std::istreambuf_iterator<char>(in), {});
  }
  EXPECT_EQ(Model(reply), "ECF-T08             ");
  std::ifstream consumed(drive + "/comando.dat", std::ios::binary | std::ios::ate);
  EXPECT_EQ(consumed.tellg(), 0);
  EXPECT_EQ(emulator.Stop(), 0);
}

TEST(CommandLine, RefusesWhatItDoesNotUnderstand) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                    {"--pty", "--file"},
                                                    {"--pty", "--model", "ECF-T99"},
                                                    {"--file", "--link", "x"},
                                                    {"--pty", "--baud", "fast"},
                                                    {"--pty", "--bogus"}}) {
    EmulatorProcess emulator(arguments);
    EXPECT_EQ(emulator.Stop(), 2);
  }
}

TEST(CommandLine, UnreadableStateStopsBeforeServing) {
  const std::string path = TempDirectory("state") + "/impressora.txt";
  std::ofstream(path) << "coo = many\n";
  EmulatorProcess emulator({"--pty", "--state", path});
  EXPECT_EQ(emulator.Stop(), 2);
  std::ifstream kept(path);
  std::string content((std::istreambuf_iterator<char>(kept)), {});
  EXPECT_EQ(content, "coo = many\n");
}

}  // namespace
}  // namespace taloven::emulator::testing
