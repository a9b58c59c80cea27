#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "base/encoding.h"
#include "catalogue/catalogue.h"
#include "emulator/emulator_process.h"
#include "monitor/monitor_session.h"
#include "support/scripted_ui.h"
#include "support/silent_listener.h"
#include "support/temp_directory.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;

// The window's side of the monitor, without the window: start, batches of
// what was shown, stop with the summary, saving.
TEST(MonitorSession, ServesOnItsOwnThreadAndSavesWhatItShowed) {
  testing::TempDirectory work;
  const std::string printerLink = (work.Path() / "printer").string();
  emulator::testing::EmulatorProcess printer({"--pty", "--link", printerLink});
  CommandCatalogue catalogue;
  ASSERT_TRUE(LoadCatalogue(TALOVEN_SOURCE_DIR "/data", catalogue).ok());
  testing::ScriptedUi ui;
  DefaultPortFactory ports;
  MonitorSession session(catalogue, ui, ports);
  MonitorSettings settings;
  settings.linkPath = (work.Path() / "program").string();

  settings.printerPort = (work.Path() / "no-such-line").string();
  const Status refused = session.Start(settings);
  EXPECT_FALSE(refused.ok());
  EXPECT_NE(refused.message().find("No such file"), std::string::npos) << refused.message();
  EXPECT_FALSE(session.Running());

  settings.printerPort = printerLink;
  ASSERT_TRUE(session.Start(settings).ok());
  EXPECT_TRUE(session.Running());
  emulator::testing::RawLine program(settings.linkPath);
  program.Write({0x02, 0x05, 0x00, 0x1B, 0x23, 0x11, 0x4F, 0x00});
  EXPECT_EQ(program.Read(4).size(), 4u);
  std::vector<MonitorEntry> entries;
  std::vector<std::string> notices;
  for (int i = 0; i < 100 && entries.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    entries = session.TakeEntries(&notices);
  }
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].command, "Flags fiscais");
  EXPECT_TRUE(session.TakeEntries(nullptr).empty()) << "each entry is taken once";
  session.Stop();
  EXPECT_FALSE(session.Running());
  session.TakeEntries(&notices);
  ASSERT_FALSE(notices.empty());
  EXPECT_NE(notices.back().find("trocas: 1\n"), std::string::npos) << notices.back();
  EXPECT_FALSE(fs::exists(settings.linkPath));

  const std::string saved = (work.Path() / "monitor.txt").string();
  ui.PushAll(saved, (work.Path() / "no-such-folder" / "m.txt").string());
  EXPECT_TRUE(session.Save());
  EXPECT_EQ(testing::ReadFileBytes(saved), entries[0].text + SummaryText(MonitorCounts{1}));
  EXPECT_FALSE(session.Save());
  ASSERT_FALSE(ui.Prompts().empty());
  EXPECT_EQ(ui.Prompts().back().kind, "message");
}

// The program chooses its line's speed, parity, size and stop bits; the
// printer's line takes them before the next bytes reach it. A pseudo-terminal
// keeps eight bits without parity whatever it is asked, so the speed, the
// stop bits and the parity's sense are what can be seen to follow here.
TEST(MonitorSession, ThePrinterLineFollowsTheProgramsSettings) {
  testing::TempDirectory work;
  const std::string printerLink = (work.Path() / "printer").string();
  emulator::testing::EmulatorProcess printer({"--pty", "--link", printerLink});
  // Held before the monitor takes the line for itself, to look at it.
  const int printerSide = ::open(printerLink.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(printerSide, 0);
  CommandCatalogue catalogue;
  testing::ScriptedUi ui;
  DefaultPortFactory ports;
  MonitorSession session(catalogue, ui, ports);
  MonitorSettings settings;
  settings.printerPort = printerLink;
  settings.linkPath = (work.Path() / "program").string();
  ASSERT_TRUE(session.Start(settings).ok());

  const struct {
    speed_t speed;
    tcflag_t flags;
  } cases[] = {{B19200, CS8}, {B4800, CS8 | CSTOPB}, {B38400, CS8 | PARODD}};
  const int program = ::open(settings.linkPath.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(program, 0);
  for (const auto& c : cases) {
    termios line{};
    ASSERT_EQ(tcgetattr(program, &line), 0);
    cfmakeraw(&line);
    line.c_cflag = (line.c_cflag & ~(CSIZE | PARENB | PARODD | CSTOPB)) | c.flags;
    cfsetispeed(&line, c.speed);
    cfsetospeed(&line, c.speed);
    ASSERT_EQ(tcsetattr(program, TCSANOW, &line), 0);
    ASSERT_EQ(::write(program, "\xAA", 1), 1);
    termios followed{};
    for (int i = 0; i < 100; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      tcgetattr(printerSide, &followed);
      if (cfgetospeed(&followed) == c.speed) break;
    }
    EXPECT_EQ(cfgetospeed(&followed), c.speed);
    EXPECT_EQ(followed.c_cflag & (CSIZE | PARENB | PARODD | CSTOPB), c.flags);
  }
  ::close(program);
  ::close(printerSide);
}

// A printer server that never answers: the window's progress Cancel stops
// the connection, and the monitor does not start.
TEST(MonitorSession, TheUserStopsAConnectionToThePrinterThatHangs) {
  testing::TempDirectory work;
  testing::SilentListener silent;
  CommandCatalogue catalogue;
  testing::ScriptedUi ui;
  ui.onProgressPump = [](testing::ScriptedUi::ProgressRecord& progress) {
    ProgressEvents events;
    events.cancelClicked = progress.pumps > 3;
    return events;
  };
  DefaultPortFactory ports;
  MonitorSession session(catalogue, ui, ports);
  MonitorSettings settings;
  settings.linkPath = (work.Path() / "program").string();
  settings.printerPort = silent.Url("rfc2217");
  const auto start = std::chrono::steady_clock::now();
  const Status started = session.Start(settings);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_FALSE(started.ok());
  EXPECT_NE(started.message().find("cancelada"), std::string::npos) << started.message();
  EXPECT_FALSE(session.Running());
}

}  // namespace
}  // namespace taloven
