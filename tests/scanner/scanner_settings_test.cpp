#include <gtest/gtest.h>

#include <fstream>

#include "base/profile_file.h"
#include "scanner/scanner_settings.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::ReadFileBytes;
using testing::TempDirectory;

// The profile as a technician may have left it, then what each reader makes
// of it and the line the capture opens.
TEST(ScannerSettings, EachReaderFillsTheProfileItsWayAndTheLineFallsBackPerKey) {
  struct Case {
    const char* name;
    const char* profile;
    ScannerDefaults reader;
    ScannerSettings settings;
    int baud, bits;
    Parity parity;
    StopBits stop;
    bool rts;
  };
  const Case cases[] = {
      {"capture, nothing stored",
       "",
       ScannerDefaults::Capture,
       {"COM1:", 7, 3, 0, 0, 0},
       115200,
       8,
       Parity::None,
       StopBits::One,
       false},
      {"dialog, nothing stored",
       "",
       ScannerDefaults::Dialog,
       {"COM1:", 7, 8, 0, 0, 1},
       115200,
       8,
       Parity::None,
       StopBits::One,
       true},
      {"all stored",
       "[Scanner Port]\nPort name=COM3:\nBaud rate=0\nByte length=2\nParity=2\nStop bits=2\n"
       "Handshake=1\n",
       ScannerDefaults::Dialog,
       {"COM3:", 0, 2, 2, 2, 1},
       1200,
       7,
       Parity::Odd,
       StopBits::Two,
       true},
      {"out of the lists",
       "[scanner port]\nport name=/dev/ttyACM0\nbaud rate=9\nbyte length=-1\nparity=3\n"
       "stop bits=7\nhandshake=2\n",
       ScannerDefaults::Capture,
       {"/dev/ttyACM0", 9, -1, 3, 7, 2},
       1200,
       8,
       Parity::None,
       StopBits::One,
       false},
      {"no number stored",
       "[Scanner Port]\nBaud rate=fast\nParity=1\n",
       ScannerDefaults::Capture,
       {"COM1:", 7, 3, 1, 0, 0},
       115200,
       8,
       Parity::Even,
       StopBits::One,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDirectory dir;
    const std::string path = (dir.Path() / "taloven.ini").string();
    std::ofstream(path) << c.profile;
    ProfileFile profile(path);
    ASSERT_TRUE(profile.Load().ok());
    const ScannerSettings read = ReadScannerSettings(profile, c.reader);
    EXPECT_EQ(read.portName, c.settings.portName);
    EXPECT_EQ(read.baud, c.settings.baud);
    EXPECT_EQ(read.byteLength, c.settings.byteLength);
    EXPECT_EQ(read.parity, c.settings.parity);
    EXPECT_EQ(read.stopBits, c.settings.stopBits);
    EXPECT_EQ(read.handshake, c.settings.handshake);
    const ScannerLine line = LineFor(read);
    EXPECT_EQ(line.baudRate, c.baud);
    EXPECT_EQ(line.dataBits, c.bits);
    EXPECT_EQ(line.parity, c.parity);
    EXPECT_EQ(line.stopBits, c.stop);
    EXPECT_EQ(line.rtsHandshake, c.rts);
  }
}

TEST(ScannerSettings, PortListFollowsTheFourthCharacterAndKeepsTheRestOfTheName) {
  struct Case {
    const char* stored;
    int position;
    int chosen;
    const char* storedAfter;
  };
  const Case cases[] = {
      {"COM1:", 0, 2, "COM3:"},
      {"COM4:", 3, 0, "COM1:"},
      {"COM2", 1, 3, "COM4"},
      {"COM7:", -1, 1, "COM2:"},                 // beyond the list: shown as its own entry
      {"/dev/ttyACM0", -1, 0, "COM1:"},          // a path gives way to the entry
      {"/dev/ttyUSB1", -1, -1, "/dev/ttyUSB1"},  // its own entry kept
      {"COM12:", -1, -1, "COM12:"},              // no COMn: name, not read as COM1:
      {"COM12:", -1, 1, "COM2:"},
      {"", -1, 1, "COM2:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(ScannerPortPosition(c.stored), c.position);
    EXPECT_EQ(ScannerPortNameFor(c.stored, c.chosen), c.storedAfter);
  }
}

TEST(ProfileFile, StoringKeepsOtherSectionsCommentsAndKeysAndCreatesTheFolder) {
  TempDirectory dir;
  const std::string path = (dir.Path() / "config" / "taloven" / "taloven.ini").string();
  ProfileFile fresh(path);
  ASSERT_TRUE(fresh.Load().ok());  // missing: empty
  fresh.SetString("Other", "Key", "kept");
  ASSERT_TRUE(fresh.Save().ok());

  std::ofstream(path, std::ios::app) << "; a comment\n\n[Scanner Port]\nExtra=1\n\n";
  ProfileFile profile(path);
  ASSERT_TRUE(profile.Load().ok());
  StoreScannerSettings(profile, {"/dev/ttyUSB0", 3, 3, 1, 0, 1});
  ASSERT_TRUE(profile.Save().ok());
  EXPECT_EQ(ReadFileBytes(path),
            "[Other]\nKey=kept\n; a comment\n\n[Scanner Port]\nExtra=1\nPort name=/dev/ttyUSB0\n"
            "Baud rate=3\nByte length=3\nParity=1\nStop bits=0\nHandshake=1\n\n");
}

}  // namespace
}  // namespace taloven
