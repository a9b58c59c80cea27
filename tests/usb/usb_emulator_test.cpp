#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "emulator/emulator_process.h"
#include "link/clock.h"
#include "usb/kovousbprinter.h"
#include "usb/socket_usb_device.h"
#include "usb/usb_port.h"

namespace taloven {
namespace {

using emulator::testing::EmulatorProcess;

// "Marca, Modelo e Tipo": ESC 35 60 in a frame.
const std::vector<uint8_t> kIdentity = {0x02, 0x05, 0x00, 0x1B, 0x23, 0x3C, 0x7A, 0x00};

std::string SocketPath(const std::string& name) {
  return ::testing::TempDir() + "/" + name + std::to_string(getpid()) + ".usb";
}

// Sends the identity query and reads the reply byte by byte, as command
// execution does; the model name, or empty when the reply did not come.
std::string AskModel(Port& port) {
  port.Purge();
  if (!port.Write(kIdentity.data(), static_cast<int>(kIdentity.size()), 20000)) return "";
  std::vector<uint8_t> reply(45);
  for (uint8_t& byte : reply)
    if (!port.Read(&byte, 1, 2000)) return "";
  if (reply[0] != 0x06) return "";
  return std::string(reply.begin() + 16, reply.begin() + 36);
}

TEST(UsbThroughTheEmulator, TheReplyArrivesInEightByteAnswers) {
  const std::string path = SocketPath("answers");
  EmulatorProcess emulator({"--usb-socket", path, "--model", "ECF-T11"});
  ASSERT_EQ(emulator.Address(), path);
  UsbPrinter printer(std::make_unique<SocketUsbDevice>(path), RealClock());
  UsbPort port("USB", printer, RealClock());
  ASSERT_EQ(port.Open(9600), 1);
  EXPECT_EQ(AskModel(port), "ECF-T11             ");
  EXPECT_EQ(printer.QueuedCount(), 0u);
  // A second command on the same open device.
  EXPECT_EQ(AskModel(port), "ECF-T11             ");
}

TEST(UsbThroughTheEmulator, APrinterPluggedInAgainIsReopened) {
  const std::string path = SocketPath("replug");
  UsbPrinter printer(std::make_unique<SocketUsbDevice>(path), RealClock());
  UsbPort port("USB", printer, RealClock());
  {
    EmulatorProcess first({"--usb-socket", path, "--model", "ECF-T05"});
    ASSERT_EQ(port.Open(9600), 1);
    EXPECT_EQ(AskModel(port), "ECF-T05             ");
  }
  EmulatorProcess second({"--usb-socket", path, "--model", "ECF-T09"});
  EXPECT_EQ(AskModel(port), "ECF-T09             ");
}

TEST(UsbThroughTheEmulator, NoPrinterMeansNoOpen) {
  UsbPrinter printer(std::make_unique<SocketUsbDevice>(SocketPath("absent")), RealClock());
  UsbPort port("USB", printer, RealClock());
  EXPECT_EQ(port.Open(9600), 0);
  EXPECT_EQ(printer.LastError(), kUsbNoSuchDeviceInstance);
}

}  // namespace
}  // namespace taloven
