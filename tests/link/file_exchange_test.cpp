#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "link/clock.h"
#include "link/drive_c.h"
#include "link/execute.h"
#include "link/file_port.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedUi;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class FileExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    drive_ = fs::temp_directory_path() /
             ("taloven-drive-" + std::to_string(getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(drive_);
    setenv("TALOVEN_DRIVE_C", drive_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("TALOVEN_DRIVE_C");
    fs::remove_all(drive_);
  }
  fs::path drive_;
};

TEST_F(FileExchange, DriveDirectoryComesFromTheEnvironmentAndIsCreated) {
  EXPECT_EQ(DriveCDirectory(), drive_.string());
  EXPECT_TRUE(fs::is_directory(drive_));
  EXPECT_EQ(FilePort::CommandFilePath(), (drive_ / "comando.dat").string());
  EXPECT_EQ(FilePort::ReplyFilePath(), (drive_ / "retorno.dat").string());
  unsetenv("TALOVEN_DRIVE_C");
  EXPECT_EQ(DriveCDirectory(), "/tmp/taloven-drive_c-" + std::to_string(getuid()));
}

TEST_F(FileExchange, NewPortForgetsAnOldCommand) {
  DriveCDirectory();
  Put(FilePort::CommandFilePath(), "old");
  FilePort port("FILE");
  EXPECT_EQ(Contents(FilePort::CommandFilePath()), "");
}

TEST_F(FileExchange, BlocksAppendAndReadsConsumeOnlyWhatTheyTake) {
  FilePort system("FILE");
  ASSERT_EQ(system.Open(FilePort::kSystemRole), 1);
  EXPECT_EQ(system.PendingBytes(), 0);  // created empty
  unsigned written = 0;
  EXPECT_EQ(system.WriteBlock(reinterpret_cast<const uint8_t*>("abc"), 3, &written), 1);
  EXPECT_EQ(written, 3u);
  system.WriteBlock(reinterpret_cast<const uint8_t*>("de"), 2, &written);
  EXPECT_EQ(Contents(FilePort::CommandFilePath()), "abcde");

  FilePort printer("FILE");  // empties the command file, so write after it
  Put(FilePort::CommandFilePath(), "abcde");
  ASSERT_EQ(printer.Open(FilePort::kCounterpartRole), 1);
  EXPECT_EQ(printer.PendingBytes(), 5);
  uint8_t buffer[8] = {};
  unsigned read = 0;
  EXPECT_EQ(printer.ReadBlock(buffer, 2, &read), 1);
  EXPECT_EQ(read, 2u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 2), "ab");
  // The rest waits for the next read instead of being lost.
  EXPECT_EQ(Contents(FilePort::CommandFilePath()), "cde");
  EXPECT_EQ(printer.PendingBytes(), 3);
  EXPECT_EQ(printer.ReadBlock(buffer, 8, &read), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), read), "cde");
  EXPECT_EQ(printer.ReadBlock(buffer, 8, &read), 1);
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(Contents(FilePort::CommandFilePath()), "");

  printer.WriteBlock(reinterpret_cast<const uint8_t*>("xyz"), 3, &written);
  EXPECT_EQ(system.PendingBytes(), 3);
  EXPECT_EQ(system.Purge(), 1);
  EXPECT_EQ(system.PendingBytes(), 0);
  system.Close();
  printer.Close();
  EXPECT_EQ(system.Read(buffer, 1, 100), 0);
  EXPECT_EQ(system.Write(buffer, 1, 100), 0);
}

TEST_F(FileExchange, UnwritableDriveFailsHonestly) {
  setenv("TALOVEN_DRIVE_C", "/proc/taloven-no-such-drive", 1);
  FilePort port("FILE");
  EXPECT_EQ(port.Open(FilePort::kSystemRole), 0);
  EXPECT_EQ(port.PendingBytes(), 0);
  unsigned written = 7;
  EXPECT_EQ(port.WriteBlock(reinterpret_cast<const uint8_t*>("a"), 1, &written), 0);
  EXPECT_EQ(written, 0u);
}

// Waits through real time, as the counterpart needs it to answer.
class SleepingUi : public ScriptedUi {
 public:
  void Pause(int ms) override {
    ScriptedUi::Pause(ms);
    RealClock().Sleep(ms);
  }
};

// Plays the printer's side: takes one frame from the command file and appends
// the given reply (in two pieces, as a slow writer would).
class Counterpart {
 public:
  explicit Counterpart(std::string reply) : port_("FILE"), reply_(std::move(reply)) {
    port_.Open(FilePort::kCounterpartRole);
    thread_ = std::thread([this] { Run(); });
  }
  ~Counterpart() {
    stop_ = true;
    thread_.join();
  }
  const std::string& Frame() const { return frame_; }

 private:
  void Run() {
    FilePort& port = port_;
    uint8_t buffer[4096];
    while (!stop_) {
      unsigned read = 0;
      port.ReadBlock(buffer, sizeof buffer, &read);
      frame_.append(reinterpret_cast<char*>(buffer), read);
      if (frame_.size() >= 3 && frame_.size() >= 3u + static_cast<uint8_t>(frame_[1])) break;
      RealClock().Sleep(5);
    }
    if (stop_) return;
    unsigned written = 0;
    const size_t half = reply_.size() / 2;
    port.WriteBlock(reinterpret_cast<const uint8_t*>(reply_.data()), static_cast<int>(half),
                    &written);
    RealClock().Sleep(100);
    port.WriteBlock(reinterpret_cast<const uint8_t*>(reply_.data() + half),
                    static_cast<int>(reply_.size() - half), &written);
    port.Close();
  }

  FilePort port_;
  std::string reply_;
  std::string frame_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class ExecuteThroughFiles : public FileExchange {
 protected:
  int Run(CommandRecord& record) {
    AppSettings settings;
    settings.portName = "FILE";
    settings.workingDirectory = drive_.string();
    ExecutionContext context{settings, ui_, ports_, clock_};
    return Execute(record, context);
  }
  static CommandRecord Command(int returnSize) {
    CommandRecord record;
    record.SetTitle("Leitura");
    record.SetEscapeText("35");
    record.SetReturnSize(returnSize);
    return record;
  }
  SleepingUi ui_;
  DefaultPortFactory ports_;
  testing::TestClock clock_;
};

TEST_F(ExecuteThroughFiles, FixedReplyFromTheCounterpart) {
  DriveCDirectory();
  Put(FilePort::ReplyFilePath(), "stale reply");
  CommandRecord record = Command(2);
  Counterpart printer(
      std::string("\x06"
                  "AB\0\0",
                  5));
  ASSERT_EQ(Run(record), kExecuteOk);
  EXPECT_EQ(printer.Frame(), std::string("\x02\x04\x00\x1B\x23\x3E\x00", 7));
  EXPECT_EQ(record.replyBytes, (std::vector<uint8_t>{0x06, 'A', 'B', 0, 0}));
  EXPECT_EQ(record.dumpText, "CMD:  02 04 00 1B 23 3E 00\r\nRET:  06 41 42 00 00\r\n");
  EXPECT_EQ(ui_.WaitTexts().size(), 1u);
  ASSERT_EQ(ui_.Progress().size(), 2u);
  EXPECT_EQ(ui_.Progress()[1]->messages, std::vector<std::string>{"Processando retorno"});
}

TEST_F(ExecuteThroughFiles, VariableReplyFromTheCounterpart) {
  CommandRecord record = Command(-1);
  Counterpart printer(std::string("\x06\x00\x00Linha\n\x03", 10));
  ASSERT_EQ(Run(record), kExecuteOk);
  EXPECT_EQ(record.formattedReturn, "COMANDO OK\r\nLinha\r\n");
}

TEST_F(ExecuteThroughFiles, SilentCounterpartEndsAsNoReply) {
  CommandRecord record = Command(2);
  EXPECT_EQ(Run(record), kExecuteNoReply);
  // The frame stays in the command file for a counterpart that comes late.
  EXPECT_EQ(Contents(FilePort::CommandFilePath()).size(), 7u);
}

TEST_F(ExecuteThroughFiles, CancelWhileWaitingForAVariableReply) {
  ui_.onProgressPump = [](ScriptedUi::ProgressRecord&) {
    return ProgressEvents{.cancelClicked = true};
  };
  CommandRecord record = Command(-1);
  // A reply that keeps growing holds the first phase open until the cancel.
  std::atomic<bool> stop{false};
  FilePort port("FILE");
  port.Open(FilePort::kCounterpartRole);
  std::thread writer([&] {
    unsigned written = 0;
    auto frameWritten = [] {
      std::error_code error;
      const auto size = fs::file_size(FilePort::CommandFilePath(), error);
      return !error && size > 0;
    };
    while (!stop && !frameWritten()) RealClock().Sleep(5);
    while (!stop) {
      port.WriteBlock(reinterpret_cast<const uint8_t*>("\x06"), 1, &written);
      RealClock().Sleep(20);
    }
  });
  const int result = Run(record);
  stop = true;
  writer.join();
  EXPECT_EQ(result, kExecuteCancelled);
  EXPECT_NE(record.formattedReturn.find("Comando Cancelado!"), std::string::npos);
}

}  // namespace
}  // namespace taloven
