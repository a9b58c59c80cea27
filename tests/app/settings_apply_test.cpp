#include "app/settings_apply.h"

#include <gtest/gtest.h>

namespace taloven {
namespace {

// The devices first, in their order with their stable names beside them;
// then the fixed names and the one given on the command line, sorted.
TEST(OfferedPortNames, TheDevicesThenTheFixedNames) {
  const std::vector<PortLine> devices = {
      {"/dev/ttyACM1 \x97 /dev/serial/by-id/a", "/dev/ttyACM1"},
      {"/dev/serial/by-id/a \x97 /dev/ttyACM1", "/dev/serial/by-id/a"},
      {"/dev/ttyUSB0", "/dev/ttyUSB0"}};
  const struct {
    std::string named;
    std::vector<std::string> after;
  } cases[] = {
      {"", {"COM1:", "COM2:", "COM3:", "COM4:", "COM5:", "COM6:", "COM7:", "COM8:", "FILE", "USB"}},
      {"COM3:",
       {"COM1:", "COM2:", "COM3:", "COM4:", "COM5:", "COM6:", "COM7:", "COM8:", "FILE", "USB"}},
      {"/dev/serial/by-id/a",
       {"COM1:", "COM2:", "COM3:", "COM4:", "COM5:", "COM6:", "COM7:", "COM8:", "FILE", "USB"}},
      {"tcp://lane7:4001",
       {"COM1:", "COM2:", "COM3:", "COM4:", "COM5:", "COM6:", "COM7:", "COM8:", "FILE", "USB",
        "tcp://lane7:4001"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    std::vector<PortLine> expected = devices;
    for (const std::string& name : c.after) expected.emplace_back(name, name);
    EXPECT_EQ(OfferedPortNames(devices, c.named), expected);
  }
}

TEST(TypedNames, AreTidiedForTheirUse) {
  EXPECT_EQ(TypedPortName("  /dev/ttyS4 \t"), "/dev/ttyS4");
  EXPECT_EQ(TypedPortName("   "), "");
  EXPECT_EQ(TypedModelName("ECF-T05"), "ECF-T05             ");
  EXPECT_EQ(TypedModelName("ECF-T05             "), "ECF-T05             ");
  EXPECT_EQ(TypedModelName("A model name longer than twenty"), "A model name longer than twenty");
  EXPECT_EQ(TypedModelName("  "), "");
}

TEST(ApplySettings, TheMainWindowTakesAllFiveAndTheMask) {
  const struct {
    std::string model;
    uint32_t mask;
  } cases[] = {
      {"ECF-T01             ", 0x0001},  // listed, though detection does not know it
      {"ECF-T09             ", 0x0800},
      {"ECF-T13             ", 0x0800},  // not listed, yet a name of the table
      {"PRINTER-X           ", 0xFFFF},
      {"", 0xFFFF},
  };
  for (const auto& c : cases) {
    AppSettings settings;
    settings.workingDirectory = "/work";
    SettingsChoice choice{"USB", c.model, true, false, true};
    ApplyAllSettings(choice, settings);
    EXPECT_EQ(settings.modelMask, c.mask) << c.model;
    EXPECT_EQ(settings.portName, "USB");
    EXPECT_EQ(settings.modelName, c.model);
    EXPECT_EQ(settings.filterByModel, 1);
    EXPECT_EQ(settings.showResults, 0);
    EXPECT_EQ(settings.extendedReturn, 1);
    EXPECT_EQ(settings.workingDirectory, "/work");
  }
}

TEST(ApplySettings, TheSequencesWindowTakesTheLinkOnly) {
  AppSettings settings;
  settings.modelName = "ECF-T08             ";
  settings.modelMask = 0x0400;
  settings.filterByModel = 1;
  ApplyLinkSettings(SettingsChoice{"COM3:", "ECF-T01             ", false, false, true}, settings);
  EXPECT_EQ(settings.portName, "COM3:");
  EXPECT_EQ(settings.showResults, 0);
  EXPECT_EQ(settings.extendedReturn, 1);
  EXPECT_EQ(settings.modelName, "ECF-T08             ");
  EXPECT_EQ(settings.modelMask, 0x0400u);
  EXPECT_EQ(settings.filterByModel, 1);
}

}  // namespace
}  // namespace taloven
