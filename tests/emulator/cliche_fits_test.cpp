// The longest cliché the editor can build still fits the printer's cliché
// parameter, and the virtual printer takes it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "base/encoding.h"
#include "catalogue/catalogue.h"
#include "catalogue/cliche_text.h"
#include "emulator/emulator_process.h"
#include "link/clock.h"
#include "link/execute.h"
#include "link/parameter_encoding.h"
#include "support/scripted_ui.h"
#include "ui/app_settings.h"
#include "usb/default_port_factory.h"

namespace taloven::emulator::testing {
namespace {

constexpr int kClicheParameterSize = 186;

CommandRecord ProgramCliche() {
  CommandCatalogue catalogue;
  EXPECT_TRUE(LoadCatalogue(TALOVEN_SOURCE_DIR "/data", catalogue).ok());
  for (const CommandRecord& r : catalogue.Records())
    if (r.escapeText == "3") return r;
  ADD_FAILURE() << "no cliché command";
  return {};
}

size_t PrinterBytes(const ClicheAnswer& answer) {
  CommandParameter parameter;
  parameter.type = "CLICHE";
  parameter.size = kClicheParameterSize;
  parameter.value = BuildClicheText(answer);
  std::string bytes;
  EncodeParameter(parameter, bytes);
  return bytes.size();
}

// Everything the boxes take: full and short lines (centring favours some
// lengths), a third line broken anywhere, every mix of styles.
std::vector<ClicheLine> Candidates(bool third) {
  std::vector<std::string> texts;
  for (size_t n = 0; n <= static_cast<size_t>(kClicheLineWidth); ++n)
    texts.push_back(std::string(n, 'x'));
  if (third) {
    for (size_t first = 0; first <= 47; ++first)
      for (size_t second = 0; first + 2 + second <= 94; second += 3)
        texts.push_back(std::string(first, 'a') + "\r\n" + std::string(second, 'b'));
  }
  std::vector<ClicheLine> lines;
  for (int styles = 0; styles < 16; ++styles)
    for (const std::string& text : texts)
      lines.push_back(ClicheLine{text, (styles & 1) != 0, (styles & 2) != 0, (styles & 4) != 0,
                                 (styles & 8) != 0});
  return lines;
}

// The lines are built one by one, so the longest cliché is the longest of
// each line put together.
ClicheAnswer LongestCliche(bool centred) {
  ClicheAnswer longest{{}, centred};
  for (size_t i = 0; i < 3; ++i) {
    size_t most = 0;
    for (const ClicheLine& line : Candidates(i == 2)) {
      ClicheAnswer trial{{}, centred};
      trial.lines[i] = line;
      const size_t bytes = PrinterBytes(trial);
      if (bytes > most) {
        most = bytes;
        longest.lines[i] = line;
      }
    }
  }
  return longest;
}

// Pauses really pass, a tenth as long: the printer answers in microseconds.
class QuickPausingUi : public taloven::testing::ScriptedUi {
 public:
  void Pause(int ms) override {
    ScriptedUi::Pause(ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms / 10 + 1));
  }
};

TEST(LongestCliche, FitsTheParameterAndThePrinterTakesIt) {
  const std::string dir = ::testing::TempDir() + "/cliche" + std::to_string(getpid());
  mkdir(dir.c_str(), 0700);
  EmulatorProcess emulator({"--pty", "--link", dir + "/ttyECF", "--intervention"});
  AppSettings settings;
  settings.portName = dir + "/ttyECF";
  settings.extendedReturn = 1;
  settings.workingDirectory = dir;
  QuickPausingUi ui;
  DefaultPortFactory ports;

  for (bool centred : {false, true}) {
    const ClicheAnswer longest = LongestCliche(centred);
    EXPECT_LE(PrinterBytes(longest), static_cast<size_t>(kClicheParameterSize))
        << (centred ? "centred" : "not centred");

    CommandRecord record = ProgramCliche();
    ASSERT_EQ(record.parameters.size(), 1u);
    record.parameters[0].value = BuildClicheText(longest);
    ExecutionContext context{settings, ui, ports, RealClock()};
    ASSERT_EQ(Execute(record, context), kExecuteOk);
    const std::string accepted = "\r\nCOMANDO OK\r\nCOMANDO OK\r\n";
    EXPECT_NE(record.formattedReturn.find(accepted), std::string::npos)
        << Cp1252ToUtf8(record.formattedReturn);
  }
}

}  // namespace
}  // namespace taloven::emulator::testing
