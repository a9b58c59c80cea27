#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/settings_apply.h"
#include "emulator/emulator_process.h"
#include "link/byte_trace.h"
#include "link/clock.h"
#include "link/execute.h"
#include "support/record_builders.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;

// The settings dialog's "Registrar os bytes trocados" writes every exchange
// of the GUI, from the moment it is ticked until it is cleared, beside the
// daily log.
TEST(TraceSetting, TracesTheExchangesWhileItIsOn) {
  testing::TempDirectory work;
  const std::string link = (work.Path() / "printer").string();
  emulator::testing::EmulatorProcess printer({"--pty", "--link", link});
  AppSettings settings;
  settings.workingDirectory = work.Path().string();
  SettingsChoice choice = ChoiceFromSettings(settings);
  choice.portName = link;
  testing::ScriptedUi ui;
  DefaultPortFactory ports;
  auto cancel = [&] {
    CommandRecord record = testing::MakeCommand("Cancela cupom fiscal", "14", {});
    ExecutionContext context{settings, ui, ports, RealClock()};
    return Execute(record, context);
  };
  const fs::path trace = TraceFilePath(settings.workingDirectory);

  const struct {
    bool on;
    size_t lines;  // in the trace after the exchange
  } steps[] = {{false, 0}, {true, 3}, {true, 6}, {false, 6}};
  for (const auto& step : steps) {
    choice.traceBytes = step.on;
    ApplyLinkSettings(choice, settings);
    EXPECT_EQ(ChoiceFromSettings(settings).traceBytes, step.on);
    ASSERT_EQ(cancel(), kExecuteOk);
    const std::string text = testing::ReadFileBytes(trace);
    EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')), step.lines) << text;
    if (step.lines > 0) {
      EXPECT_NE(text.find(" > 02 04 00 1B 0E 29 00\n"), std::string::npos);
    }
  }
  EXPECT_EQ(std::getenv(kTraceDirectoryVariable), nullptr);
}

}  // namespace
}  // namespace taloven
