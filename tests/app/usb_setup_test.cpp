#include "app/usb_setup.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "app/program_start.h"
#include "resources/strings.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

using testing::ScriptedUi;
using testing::TempDirectory;

struct Case {
  const char* name;
  bool desktop;
  bool ruleShipped;
  std::vector<int> results;  // of the starts, in order
  // Expected:
  int starts;
  std::vector<int> pauses;
  std::string message;  // empty: none
};

class UsbSetup : public ::testing::TestWithParam<Case> {};

TEST_P(UsbSetup, InstallsTheRuleThenTriggersTheDevice) {
  const Case& c = GetParam();
  TempDirectory work;
  if (c.ruleShipped) {
    std::filesystem::create_directory(work.Path() / "usb");
    std::ofstream(work.Path() / kUsbRuleSource) << "SUBSYSTEM==\"usb\"\n";
  }
  std::vector<std::vector<std::string>> started;
  std::vector<std::string> directories;
  UsbSetupSystem system{
      c.desktop, [&](const std::vector<std::string>& arguments, const std::string& directory) {
        started.push_back(arguments);
        directories.push_back(directory);
        return started.size() <= c.results.size() ? c.results[started.size() - 1] : 0;
      }};
  testing::TestClock clock;
  ScriptedUi ui(&clock);

  InstallUsbAccess(work.Path().string(), ui, system);

  ASSERT_EQ(static_cast<int>(started.size()), c.starts);
  EXPECT_EQ(ui.WaitTexts().front(), Str(StrId::kPleaseWait));
  EXPECT_EQ(ui.Pauses(), c.pauses);
  const std::string elevate = c.desktop ? "pkexec" : "sudo";
  if (c.starts >= 1) {
    EXPECT_EQ(started[0],
              (std::vector<std::string>{elevate, "install", "-m", "0644",
                                        (work.Path() / kUsbRuleSource).string(), kUsbRuleTarget}));
    EXPECT_EQ(directories[0], work.Path().string());
  }
  if (c.starts >= 2) {
    ASSERT_EQ(started[1].size(), 4u);
    EXPECT_EQ(started[1][0], elevate);
    EXPECT_NE(started[1][3].find("--attr-match=idVendor=2843"), std::string::npos);
    EXPECT_NE(started[1][3].find("reload-rules"), std::string::npos);
  }
  std::vector<std::string> messages;
  for (const auto& prompt : ui.Prompts())
    if (prompt.kind == "message") messages.push_back(prompt.text);
  if (c.message.empty())
    EXPECT_TRUE(messages.empty());
  else
    EXPECT_EQ(messages, std::vector<std::string>{c.message});
}

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

const std::string kFailed = "Erro na instala\xE7\xE3o do driver USB";

INSTANTIATE_TEST_SUITE_P(
    Starts, UsbSetup,
    ::testing::Values(
        Case{"Desktop", true, true, {}, 2, {8000, 10000}, ""},
        Case{"Terminal", false, true, {}, 2, {8000, 10000}, ""},
        Case{"RuleMissing", true, false, {}, 0, {}, kFailed + "The specified file was not found."},
        Case{"ElevatorMissing",
             true,
             true,
             {ENOENT},
             1,
             {},
             kFailed + "The specified file was not found."},
        Case{"TriggerRefused",
             true,
             true,
             {0, EACCES},
             2,
             {8000},
             kFailed + "The .EXE file is invalid."},
        Case{"OutOfResources",
             false,
             true,
             {EAGAIN},
             1,
             {},
             kFailed + "The system is out of memory or resources."},
        Case{"OtherReason", true, true, {EPERM}, 1, {}, kFailed}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartProgram, ReportsWhyAStartFailed) {
  EXPECT_EQ(StartProgram({"true"}, ""), 0);
  EXPECT_EQ(StartProgram({"taloven-no-such-program"}, ""), ENOENT);
  EXPECT_EQ(StartProgram({"true"}, "/nonexistent/directory"), ENOENT);
  EXPECT_EQ(StartFailureText(ENOTDIR), "The specified path was not found.");
}

}  // namespace
}  // namespace taloven
