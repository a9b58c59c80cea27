// Each command loads the system libraries it uses and no others: the
// fiscal-memory tools start without libxml2 and libusb (and the ICU and udev
// they bring), which only the catalogue and a USB port need.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "formats/mfd_file.h"
#include "printer/printer_state.h"
#include "printer/simulation.h"
#include "support/cli_process.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::CliProcess;
using testing::ReadFileBytes;
using testing::TempDirectory;

TEST(LoadedLibraries, EachCommandLoadsOnlyTheLibrariesItUses) {
  TempDirectory work;
  const auto Path = [&](const char* name) { return (work.Path() / name).string(); };
  emulator::PrinterState state = emulator::DefaultPrinterState("ECF-T08");
  emulator::SimulateDays(state, 1, 1796637600);
  std::ofstream(Path("j.mfd"), std::ios::binary) << MfdFileBytes(state.serialNumber, state.journal);
  fs::copy_file(TALOVEN_SOURCE_DIR "/data/comandos.xml", work.Path() / "comandos.xml");

  const struct {
    std::vector<std::string> command;
    int status;
    bool xml, usb;
  } cases[] = {
      {{"mfd", "report", Path("j.mfd"), Path("r.txt")}, 0, false, false},
      {{"mfd", "db", Path("j.mfd"), Path("j.db")}, 0, false, false},
      {{"--version"}, 0, false, false},
      {{"list"}, 0, true, false},
      {{"-p", "USB", "--timeout", "1", "raw", "05"}, 4, false, true},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments{"-C", work.Path().string(), "--model", "ECF-T08"};
    arguments.insert(arguments.end(), c.command.begin(), c.command.end());
    CliProcess::Setup setup;
    setup.environment = {"LD_DEBUG=files"};
    setup.err = Path("loader.txt");
    CliProcess cli(arguments, setup);
    EXPECT_EQ(cli.Wait(std::chrono::minutes(1)), c.status) << c.command[0];
    const std::string loads = ReadFileBytes(Path("loader.txt"));
    EXPECT_NE(loads.find("file=libc.so.6"), std::string::npos) << "no loader trace";
    EXPECT_EQ(loads.find("file=libxml2.so.2") != std::string::npos, c.xml) << c.command[0];
    EXPECT_EQ(loads.find("file=libusb-1.0.so.0") != std::string::npos, c.usb) << c.command[0];
  }
}

}  // namespace
}  // namespace taloven
