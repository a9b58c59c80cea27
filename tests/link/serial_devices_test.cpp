#include "link/serial_devices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;

// A /dev of the test's own: devices are plain files, the stable names
// relative links as the system makes them.
TEST(SerialDevices, AdaptersAreListedWithTheirStableNames) {
  testing::TempDirectory dev;
  for (const char* name : {"ttyUSB1", "ttyUSB0", "ttyACM0", "ttyS0", "null"})
    std::ofstream(dev.Path() / name) << "";
  const fs::path byId = dev.Path() / "serial" / "by-id";
  fs::create_directories(byId);
  fs::create_symlink("../../ttyUSB1", byId / "usb-Lane_Adapter_A1-if00-port0");
  // Two interfaces of one adapter: the first name in order is its name.
  fs::create_symlink("../../ttyACM0", byId / "usb-Scanner_B2-if02");
  fs::create_symlink("../../ttyACM0", byId / "usb-Scanner_B2-if00");
  fs::create_symlink("../../ttyS0", byId / "pci-Board_Port-if00");
  fs::create_symlink("../../ttyUSB9", byId / "usb-Unplugged-if00-port0");

  const std::vector<SerialDevice> devices = ListSerialDevices(dev.Path().string());
  const std::string root = dev.Path().string();
  const struct {
    std::string path, stableName;
  } expected[] = {
      {root + "/ttyACM0", (byId / "usb-Scanner_B2-if00").string()},
      {root + "/ttyUSB0", ""},
      {root + "/ttyUSB1", (byId / "usb-Lane_Adapter_A1-if00-port0").string()},
  };
  ASSERT_EQ(devices.size(), std::size(expected));
  for (size_t i = 0; i < devices.size(); ++i) {
    EXPECT_EQ(devices[i].path, expected[i].path);
    EXPECT_EQ(devices[i].stableName, expected[i].stableName);
  }
  EXPECT_TRUE(ListSerialDevices((dev.Path() / "none").string()).empty());

  // Each stable name beside its device, both ways round, in the devices'
  // order; a device without one is a line of its own.
  const std::string acm = root + "/ttyACM0", usb0 = root + "/ttyUSB0", usb1 = root + "/ttyUSB1";
  const std::string scanner = (byId / "usb-Scanner_B2-if00").string();
  const std::string lane = (byId / "usb-Lane_Adapter_A1-if00-port0").string();
  EXPECT_EQ(SerialDeviceLines(devices), (std::vector<PortLine>{
                                            {acm + " \x97 " + scanner, acm},
                                            {scanner + " \x97 " + acm, scanner},
                                            {usb0, usb0},
                                            {usb1 + " \x97 " + lane, usb1},
                                            {lane + " \x97 " + usb1, lane},
                                        }));
}

}  // namespace
}  // namespace taloven
