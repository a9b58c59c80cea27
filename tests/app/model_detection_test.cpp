#include "app/model_detection.h"

#include <gtest/gtest.h>

#include <map>

#include "base/encoding.h"
#include "resources/strings.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

using testing::ScriptedLine;
using testing::ScriptedPort;
using testing::ScriptedUi;
using testing::TestClock;

const std::vector<uint8_t> kModelQuery = {0x02, 0x05, 0x00, 0x1B, 0x23, 0x3C, 0x7A, 0x00};

// Ports by name; a name without a line is a port that does not open.
class Lines : public PortFactory {
 public:
  explicit Lines(TestClock& clock) : clock(clock) {
    absent.openResult = 0;
    absent.clock = &clock;
  }
  ScriptedLine& Printer(const std::string& name, std::vector<uint8_t> probeAnswer,
                        std::string model) {
    ScriptedLine& line = lines[name];
    line.clock = &clock;
    line.onWrite = [probeAnswer, model](ScriptedLine& l, const std::vector<uint8_t>& frame) {
      if (frame == kDetectionProbe) l.Answer(probeAnswer);
      if (frame == kModelQuery && !model.empty()) {
        std::vector<uint8_t> reply{0x06};
        std::string fields = std::string("KOVO           ") + model + "MFD    ";
        reply.insert(reply.end(), fields.begin(), fields.end());
        reply.push_back(0x00);
        reply.push_back(0x00);
        l.Answer(reply);
      }
    };
    return line;
  }
  std::unique_ptr<Port> Create(const std::string& name) override {
    created.push_back(name);
    auto found = lines.find(name);
    return std::make_unique<ScriptedPort>(name, found == lines.end() ? absent : found->second);
  }
  int LivePorts() const {
    int live = absent.livePorts;
    for (const auto& [name, line] : lines) live += line.livePorts;
    return live;
  }
  int Closes() const {
    int n = 0;
    for (const auto& call : absent.calls) n += call == "close";
    return n;
  }

  TestClock& clock;
  ScriptedLine absent;
  std::map<std::string, ScriptedLine> lines;
  std::vector<std::string> created;
};

std::string Connected(StrId id, const std::string& port) {
  std::string text = Str(id);
  return text.replace(text.find("%s"), 2, port);
}

const std::vector<uint8_t> kNormal = {0x06, 'U', 0x00, 0x00};
const std::vector<uint8_t> kIntervention = {0x06, 'T', 0x00, 0x00};

struct Case {
  const char* name;
  std::string given;                 // the port named before detection
  std::string printerPort;           // where the printer answers; empty: nowhere
  std::vector<uint8_t> probeAnswer;  // what it answers to the probe
  std::string model;                 // what it answers to the model query
  std::vector<std::string> adapters;
  // Expected:
  std::string port;
  std::string modelName;
  uint32_t mask;
  int extendedReturn;
  std::vector<std::string> texts;  // connection and wait windows, in order
  std::vector<int> pauses;
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

class ModelDetection : public ::testing::TestWithParam<Case> {};

TEST_P(ModelDetection, FindsPortAndModel) {
  const Case& c = GetParam();
  TestClock clock;
  ScriptedUi ui(&clock);
  Lines lines(clock);
  if (!c.printerPort.empty()) lines.Printer(c.printerPort, c.probeAnswer, c.model);
  testing::TempDirectory directory;
  AppSettings settings;
  settings.workingDirectory = directory.Path().string();
  settings.portName = c.given;

  DetectModel(settings, ui, lines, clock, c.adapters);

  EXPECT_EQ(settings.portName, c.port);
  EXPECT_EQ(settings.modelName, c.modelName);
  EXPECT_EQ(settings.modelMask, c.mask);
  EXPECT_EQ(settings.extendedReturn, c.extendedReturn);
  EXPECT_EQ(ui.WaitTexts(), c.texts);
  // Command execution pauses too; detection's own pause comes first.
  std::vector<int> pauses = ui.Pauses();
  if (c.pauses.empty())
    EXPECT_TRUE(pauses.empty() || pauses.front() != 1000);
  else
    EXPECT_EQ(std::vector<int>(pauses.begin(), pauses.begin() + 1), c.pauses);
  EXPECT_EQ(lines.LivePorts(), 0);
  // Ports that did not open were closed all the same.
  int absentCreated = 0;
  for (const auto& name : lines.created) absentCreated += !lines.lines.count(name);
  EXPECT_EQ(lines.Closes(), absentCreated);
}

const std::string kConnecting = "Conectando...";
const std::string kDetecting = "Detectando modelo do equipamento...";
const std::string kNoPrinter = Str(StrId::kNotConnected);

INSTANTIATE_TEST_SUITE_P(
    Ports, ModelDetection,
    ::testing::Values(
        Case{"SerialNormalRecognised",
             "",
             "COM3:",
             kNormal,
             "ECF-T11             ",
             {},
             "COM3:",
             "ECF-T11             ",
             0x2000,
             1,
             {kConnecting, Connected(StrId::kConnectedNormal, "COM3:"), kDetecting},
             {1000}},
        Case{"UsbInterventionUnrecognised",
             "",
             "USB",
             kIntervention,
             "ECF-T01             ",
             {},
             "USB",
             "ECF-T01             ",
             0xFFFF,
             0,
             {kConnecting, Connected(StrId::kConnectedIntervention, "USB"), kDetecting},
             {}},
        Case{"UsbTakesAnyFourBytes",
             "",
             "USB",
             {0x15, 'U', 1, 2},
             "ECF-T13             ",
             {},
             "USB",
             "ECF-T13             ",
             0x0800,
             1,
             {kConnecting, Connected(StrId::kConnectedNormal, "USB"), kDetecting},
             {}},
        Case{"SerialWithoutAckIsNotTaken",
             "",
             "COM2:",
             {0x15, 'U', 0, 0},
             "ECF-T11             ",
             {},
             "COM1:",
             "",
             0xFFFF,
             0,
             {kConnecting, kNoPrinter},
             {1000}},
        Case{"ShortAnswerIsNotTaken",
             "",
             "COM5:",
             {0x06, 'U', 0},
             "ECF-T11             ",
             {},
             "COM1:",
             "",
             0xFFFF,
             0,
             {kConnecting, kNoPrinter},
             {1000}},
        Case{"NothingAnswers",
             "",
             "",
             {},
             "",
             {},
             "COM1:",
             "",
             0xFFFF,
             0,
             {kConnecting, kNoPrinter},
             {1000}},
        Case{"GivenPortFirst",
             "/dev/ttyS9",
             "/dev/ttyS9",
             kNormal,
             "ECF-T09             ",
             {},
             "/dev/ttyS9",
             "ECF-T09             ",
             0x0800,
             1,
             {kConnecting, Connected(StrId::kConnectedNormal, "/dev/ttyS9"), kDetecting},
             {1000}},
        Case{"GivenPortStaysWhenNothingAnswers",
             "/dev/ttyS9",
             "",
             {},
             "",
             {},
             "/dev/ttyS9",
             "",
             0xFFFF,
             0,
             {kConnecting, kNoPrinter},
             {1000}},
        Case{"AdapterAfterCom8",
             "",
             "/dev/ttyUSB0",
             kIntervention,
             "ECF-T05             ",
             {"/dev/ttyUSB0"},
             "/dev/ttyUSB0",
             "ECF-T05             ",
             0x0100,
             1,
             {kConnecting, Connected(StrId::kConnectedIntervention, "/dev/ttyUSB0"), kDetecting},
             {1000}},
        Case{"ModelQueryUnanswered",
             "",
             "COM1:",
             kNormal,
             "",
             {},
             "COM1:",
             "",
             0xFFFF,
             0,
             {kConnecting, Connected(StrId::kConnectedNormal, "COM1:"), kDetecting},
             {1000}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModelDetectionOrder, ProbesGivenUsbSerialThenAdapters) {
  TestClock clock;
  ScriptedUi ui(&clock);
  Lines lines(clock);
  AppSettings settings;
  settings.portName = "COM4:";
  DetectModel(settings, ui, lines, clock, {"/dev/ttyACM0", "COM2:"});
  EXPECT_EQ(lines.created,
            (std::vector<std::string>{"COM4:", "USB", "COM1:", "COM2:", "COM3:", "COM5:", "COM6:",
                                      "COM7:", "COM8:", "/dev/ttyACM0"}));
}

TEST(ModelDetectionOrder, ASerialPortIsPurgedAndProbedAt9600) {
  TestClock clock;
  ScriptedUi ui(&clock);
  Lines lines(clock);
  ScriptedLine& line = lines.Printer("COM1:", kNormal, "ECF-T08             ");
  testing::TempDirectory directory;
  AppSettings settings;
  settings.workingDirectory = directory.Path().string();
  DetectModel(settings, ui, lines, clock, {});
  ASSERT_GE(line.calls.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(line.calls.begin(), line.calls.begin() + 4),
            (std::vector<std::string>{"open 9600", "purge", "write", "close"}));
  EXPECT_EQ(line.frames.front(), kDetectionProbe);
}

}  // namespace
}  // namespace taloven
