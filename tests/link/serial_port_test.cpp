#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "link/clock.h"
#include "link/execute.h"
#include "link/file_port.h"
#include "link/serial_port.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

// A pseudo-terminal pair: the port opens the terminal side, the test plays
// the printer on the master side.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) path_ = ptsname(master_);
    // Holding the terminal side open keeps the master readable between ports.
    if (!path_.empty()) keeper_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
  }
  ~PseudoTerminal() {
    if (keeper_ >= 0) close(keeper_);
    if (master_ >= 0) close(master_);
  }
  bool Ready() const { return keeper_ >= 0; }
  const std::string& Path() const { return path_; }
  int Master() const { return master_; }
  int Keeper() const { return keeper_; }

  void Send(const std::vector<uint8_t>& bytes) const {
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Reads up to count bytes within the time limit.
  std::vector<uint8_t> Receive(size_t count, int limitMs) const {
    std::vector<uint8_t> bytes;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (bytes.size() < count && std::chrono::steady_clock::now() < end) {
      pollfd watch{master_, POLLIN, 0};
      if (poll(&watch, 1, 20) <= 0) continue;
      uint8_t b[256];
      const ssize_t n = read(master_, b, std::min(sizeof b, count - bytes.size()));
      if (n > 0) bytes.insert(bytes.end(), b, b + n);
    }
    return bytes;
  }

 private:
  int master_ = -1;
  int keeper_ = -1;
  std::string path_;
};

int64_t MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

TEST(SerialPortNames, ComNamesOpenTheSerialDevices) {
  EXPECT_EQ(SerialDevicePath("COM1:"), "/dev/ttyS0");
  EXPECT_EQ(SerialDevicePath("COM8:"), "/dev/ttyS7");
  EXPECT_EQ(SerialDevicePath("COM9:"), "COM9:");
  EXPECT_EQ(SerialDevicePath("COM1"), "COM1");
  EXPECT_EQ(SerialDevicePath("com1:"), "com1:");
  EXPECT_EQ(SerialDevicePath("/dev/ttyUSB0"), "/dev/ttyUSB0");
}

TEST(SerialPortNames, ReservedNamesNeverReachADevice) {
  for (const char* name : {"USB", "FILE"}) {
    SerialPort port(name);
    EXPECT_EQ(port.Open(9600), 0) << name;
    EXPECT_FALSE(port.IsOpen()) << name;
  }
  SerialPort missing("/dev/taloven-no-such-line");
  EXPECT_EQ(missing.Open(9600), 0);
  uint8_t byte = 0;
  EXPECT_EQ(missing.Read(&byte, 1, 10), 0);
  EXPECT_EQ(missing.Write(&byte, 1, 10), 0);
  missing.Close();
}

TEST(SerialPort, ABurstIsHandedOutInOrderAndAPurgeDropsWhatWasTakenIn) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Ready());
  SerialPort port(pty.Path());
  ASSERT_EQ(port.Open(9600), 1);
  std::vector<uint8_t> burst(600);
  for (size_t i = 0; i < burst.size(); ++i) burst[i] = static_cast<uint8_t>(i * 7);
  pty.Send(burst);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the whole burst is waiting

  std::vector<uint8_t> got(burst.size());
  for (size_t i = 0; i < 300; ++i) ASSERT_EQ(port.Read(&got[i], 1, 10), 1) << i;
  // A read of several bytes takes the rest of what was taken in and more.
  ASSERT_EQ(port.Read(&got[300], 300, 10), 1);
  EXPECT_EQ(got, burst);

  pty.Send({1, 2, 3, 4});
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  uint8_t byte = 0;
  ASSERT_EQ(port.Read(&byte, 1, 10), 1);
  EXPECT_EQ(byte, 1);
  ASSERT_EQ(port.Purge(), 1);
  pty.Send({9});
  ASSERT_EQ(port.Read(&byte, 1, 10), 1);
  EXPECT_EQ(byte, 9) << "bytes taken in before the purge are gone with it";
  port.Close();
}

TEST(DefaultPortFactory, NameDecidesTheKindOfPort) {
  DefaultPortFactory factory;
  EXPECT_NE(dynamic_cast<FilePort*>(factory.Create("FILE").get()), nullptr);
  EXPECT_NE(dynamic_cast<SerialPort*>(factory.Create("file").get()), nullptr);
  EXPECT_NE(dynamic_cast<SerialPort*>(factory.Create("usb").get()), nullptr);
  EXPECT_NE(dynamic_cast<SerialPort*>(factory.Create("COM2:").get()), nullptr);
  auto usb = factory.Create("USB");
  EXPECT_EQ(dynamic_cast<SerialPort*>(usb.get()), nullptr);
  EXPECT_EQ(dynamic_cast<FilePort*>(usb.get()), nullptr);
}

TEST(SerialPort, OpensRawTwoStopBitsAndRestoresTheLineOnClose) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Ready());
  termios before{};
  ASSERT_EQ(tcgetattr(pty.Keeper(), &before), 0);

  SerialPort port(pty.Path());
  ASSERT_EQ(port.Open(9600), 1);
  EXPECT_EQ(port.OpenName(), pty.Path());
  termios during{};
  ASSERT_EQ(tcgetattr(pty.Keeper(), &during), 0);
  EXPECT_EQ(during.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_TRUE(during.c_cflag & CSTOPB);
  EXPECT_FALSE(during.c_cflag & PARENB);
  EXPECT_FALSE(during.c_lflag & (ICANON | ECHO | ISIG));
  EXPECT_FALSE(during.c_oflag & OPOST);
  EXPECT_FALSE(during.c_iflag & (ICRNL | IXON));
  EXPECT_EQ(cfgetospeed(&during), static_cast<speed_t>(B9600));

  // Nobody else gets the line while it is open.
  SerialPort second(pty.Path());
  EXPECT_EQ(second.Open(9600), 0);
  second.Close();

  port.Close();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_TRUE(port.OpenName().empty());
  termios after{};
  ASSERT_EQ(tcgetattr(pty.Keeper(), &after), 0);
  EXPECT_EQ(after.c_iflag, before.c_iflag);
  EXPECT_EQ(after.c_oflag, before.c_oflag);
  EXPECT_EQ(after.c_cflag, before.c_cflag);
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  EXPECT_EQ(0, memcmp(after.c_cc, before.c_cc, sizeof before.c_cc));

  SerialPort again(pty.Path());
  EXPECT_EQ(again.Open(19200), 1);
  again.Close();
  SerialPort oddSpeed(pty.Path());
  EXPECT_EQ(oddSpeed.Open(12345), 0);
  oddSpeed.Close();
}

TEST(SerialPort, TransfersBytesBothWaysAndPurgesWhatWaits) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Ready());
  SerialPort port(pty.Path());
  ASSERT_EQ(port.Open(9600), 1);

  const std::vector<uint8_t> frame{0x02, 0x04, 0x00, 0x1B, 0x0A, 0x0D, 0x00};
  EXPECT_EQ(port.Write(frame.data(), static_cast<int>(frame.size()), 1), 1);
  EXPECT_EQ(pty.Receive(frame.size(), 2000), frame);  // raw: no line-end translation

  pty.Send({0x06, 0x0D, 0x11});
  uint8_t reply[3] = {};
  EXPECT_EQ(port.Read(reply, 3, 2000), 1);
  EXPECT_EQ(std::vector<uint8_t>(reply, reply + 3), (std::vector<uint8_t>{0x06, 0x0D, 0x11}));

  pty.Send({1, 2, 3});
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(port.Purge(), 1);
  pty.Send({9});
  EXPECT_EQ(port.Read(reply, 1, 2000), 1);
  EXPECT_EQ(reply[0], 9);
  port.Close();
}

TEST(SerialPort, ReadsFollowTheLineTimeOutsOrTheCallersShorterOne) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Ready());
  SerialPort port(pty.Path());
  ASSERT_EQ(port.Open(9600), 1);
  uint8_t buffer[2] = {};

  // One byte that never comes: about 1005 ms, though the caller allows more.
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(port.Read(buffer, 1, 2000), 0);
  const int64_t silent = MsSince(start);
  EXPECT_GE(silent, 950);
  EXPECT_LT(silent, 1900);

  // Draining after a cancel asks for 10 ms and must not wait a second.
  start = std::chrono::steady_clock::now();
  EXPECT_EQ(port.Read(buffer, 1, 10), 0);
  EXPECT_LT(MsSince(start), 500);

  // A second byte that does not follow the first ends the read early.
  pty.Send({0x06});
  start = std::chrono::steady_clock::now();
  EXPECT_EQ(port.Read(buffer, 2, 5000), 0);
  EXPECT_LT(MsSince(start), 900);
  port.Close();
}

// Waits through real time, as a printer on a line needs it.
class SleepingUi : public testing::ScriptedUi {
 public:
  void Pause(int ms) override {
    ScriptedUi::Pause(ms);
    RealClock().Sleep(ms);
  }
};

TEST(SerialPort, ExecutesACommandWithAPrinterOnThePseudoTerminal) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Ready());
  const std::vector<uint8_t> reply{0x06, 'O', 'K', 0x00, 0x00};
  std::vector<uint8_t> received;
  std::thread printer([&] {
    received = pty.Receive(7, 5000);
    pty.Send(reply);
  });

  AppSettings settings;
  settings.portName = pty.Path();
  settings.workingDirectory =
      std::filesystem::temp_directory_path() / ("taloven-pty-" + std::to_string(getpid()));
  SleepingUi ui;
  DefaultPortFactory ports;
  testing::TestClock clock;
  ExecutionContext context{settings, ui, ports, clock};
  CommandRecord record;
  record.SetTitle("Teste");
  record.SetEscapeText("35");
  record.SetReturnSize(2);
  ReturnField text;
  text.title = "Texto";
  text.type = "ASCII";
  text.size = 2;
  record.AppendReturnField(text);
  const int result = Execute(record, context);
  printer.join();
  std::filesystem::remove_all(settings.workingDirectory);

  EXPECT_EQ(result, kExecuteOk);
  EXPECT_EQ(received, (std::vector<uint8_t>{0x02, 0x04, 0x00, 0x1B, 0x23, 0x3E, 0x00}));
  EXPECT_EQ(record.replyBytes, reply);
  EXPECT_NE(record.formattedReturn.find("COMANDO OK"), std::string::npos);
}

}  // namespace
}  // namespace taloven
