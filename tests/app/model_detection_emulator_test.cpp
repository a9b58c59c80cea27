#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "app/model_detection.h"
#include "emulator/emulator_process.h"
#include "link/clock.h"
#include "resources/strings.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "usb/default_port_factory.h"
#include "usb/usb_printer_instance.h"

namespace taloven {
namespace {

using emulator::testing::EmulatorProcess;

// The program's own ports, except that "COM1:" to "COM8:" lead nowhere: the
// machine's serial lines are no part of these tests.
class NoComPorts : public PortFactory {
 public:
  std::unique_ptr<Port> Create(const std::string& name) override {
    if (name.rfind("COM", 0) == 0) return real.Create("/nonexistent/" + name);
    return real.Create(name);
  }
  DefaultPortFactory real;
};

// The one USB printer of this test program reaches its virtual printer on
// this socket, whichever test starts one there.
const std::string& UsbSocket() {
  static const std::string path = [] {
    std::string p = ::testing::TempDir() + "/detect-" + std::to_string(getpid()) + ".usb";
    setenv(kUsbSocketVariable, p.c_str(), 1);
    return p;
  }();
  return path;
}

struct Detected {
  AppSettings settings;
  std::vector<std::string> texts;
};

Detected Detect(const std::string& given) {
  testing::ScriptedUi ui;
  NoComPorts ports;
  testing::TempDirectory directory;
  Detected result;
  result.settings.workingDirectory = directory.Path().string();
  result.settings.portName = given;
  DetectModel(result.settings, ui, ports, RealClock(), {});
  result.texts = ui.WaitTexts();
  return result;
}

std::string Connected(StrId id, const std::string& port) {
  std::string text = Str(id);
  return text.replace(text.find("%s"), 2, port);
}

TEST(DetectionThroughTheEmulator, UsbNormalModeRecognisedModel) {
  EmulatorProcess emulator({"--usb-socket", UsbSocket(), "--model", "ECF-T11"});
  Detected d = Detect("");
  EXPECT_EQ(d.settings.portName, "USB");
  EXPECT_EQ(d.settings.modelName, "ECF-T11             ");
  EXPECT_EQ(d.settings.modelMask, 0x2000u);
  EXPECT_EQ(d.settings.extendedReturn, 1);
  ASSERT_GE(d.texts.size(), 2u);
  EXPECT_EQ(d.texts[1], Connected(StrId::kConnectedNormal, "USB"));
}

TEST(DetectionThroughTheEmulator, UsbInterventionUnrecognisedModel) {
  EmulatorProcess emulator({"--usb-socket", UsbSocket(), "--model", "ECF-T02", "--intervention"});
  Detected d = Detect("");
  EXPECT_EQ(d.settings.portName, "USB");
  EXPECT_EQ(d.settings.modelName, "ECF-T02             ");
  EXPECT_EQ(d.settings.modelMask, 0xFFFFu);
  EXPECT_EQ(d.settings.extendedReturn, 0);
  ASSERT_GE(d.texts.size(), 2u);
  EXPECT_EQ(d.texts[1], Connected(StrId::kConnectedIntervention, "USB"));
}

TEST(DetectionThroughTheEmulator, PseudoTerminalGivenOnTheCommandLine) {
  UsbSocket();
  const std::string link = ::testing::TempDir() + "/detect-tty-" + std::to_string(getpid());
  EmulatorProcess emulator({"--pty", "--link", link, "--model", "ECF-T07"});
  Detected d = Detect(link);
  EXPECT_EQ(d.settings.portName, link);
  EXPECT_EQ(d.settings.modelName, "ECF-T07             ");
  EXPECT_EQ(d.settings.modelMask, 0x0200u);
  ASSERT_GE(d.texts.size(), 2u);
  EXPECT_EQ(d.texts[1], Connected(StrId::kConnectedNormal, link));
}

TEST(DetectionThroughTheEmulator, NothingAnswers) {
  UsbSocket();
  const std::string link = ::testing::TempDir() + "/detect-mute-" + std::to_string(getpid());
  EmulatorProcess emulator({"--pty", "--link", link, "--fault-no-reply"});
  Detected d = Detect(link);
  EXPECT_EQ(d.settings.portName, link) << "the port given stays offered";
  EXPECT_EQ(d.settings.modelName, "");
  EXPECT_EQ(d.settings.modelMask, 0xFFFFu);
  EXPECT_EQ(d.texts,
            (std::vector<std::string>{Str(StrId::kConnecting), Str(StrId::kNotConnected)}));
}

}  // namespace
}  // namespace taloven
