#include "reference_pages.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/encoding.h"
#include "cli_command.h"
#include "exit_status_table.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

// The pages as the build made them: the manual page that is installed and
// the command-line page compiled into the help file.
TEST(ReferencePages, ManualAndHelpListEveryCommandAndExitStatus) {
  const std::filesystem::path build(TALOVEN_BINARY_DIR);
  const std::string manual = testing::ReadFileBytes(build / "installed" / "taloven-cli.1");
  const std::string help =
      testing::ReadFileBytes(build / "data" / "help" / "linha_de_comando.html");
  ASSERT_FALSE(manual.empty());
  ASSERT_FALSE(help.empty());

  for (const CliCommand& command : CommandTable()) {
    // roff takes a bare "-" for a hyphen: names like port-test are escaped.
    std::string roffName;
    for (const char* c = command.name; *c != '\0'; ++c)
      roffName += *c == '-' ? std::string("\\-") : std::string(1, *c);
    EXPECT_NE(manual.find(".TP\n\\fB" + roffName + "\\fR"), std::string::npos) << command.name;
    EXPECT_NE(help.find(std::string("<tr><td><code>") + command.name), std::string::npos)
        << command.name;
    EXPECT_NE(help.find(W(command.summary)), std::string::npos) << command.name;
  }
  for (const ExitStatusEntry& status : ExitStatusTable()) {
    EXPECT_NE(manual.find(std::string(".TP\n.B \"") + status.codes + "\"\n" + status.meaning),
              std::string::npos)
        << status.codes;
    EXPECT_NE(help.find("<tr><td>" + W(status.codes) + "</td><td>" + W(status.meaning)),
              std::string::npos)
        << status.codes;
  }
  EXPECT_EQ(help.find("@TALOVEN"), std::string::npos);
  EXPECT_EQ(manual.find("@TALOVEN"), std::string::npos);
}

TEST(ReferencePages, ATemplateWithoutAListIsRefused) {
  const struct {
    const char* pageTemplate;
    const char* error;
  } cases[] = {
      {"a\n@TALOVEN_CLI_COMMANDS@\nb\n", "no line @TALOVEN_CLI_EXIT_STATUSES@"},
      {"a\r\n@TALOVEN_CLI_EXIT_STATUSES@\r\n", "no line @TALOVEN_CLI_COMMANDS@"},
      {"@TALOVEN_CLI_COMMANDS@ \n@TALOVEN_CLI_EXIT_STATUSES@\n", "no line @TALOVEN_CLI_COMMANDS@"},
  };
  for (const auto& c : cases) {
    std::string page, error;
    EXPECT_FALSE(FillReferencePage(PageKind::kHelp, c.pageTemplate, &page, &error));
    EXPECT_EQ(error, c.error);
  }
}

}  // namespace
}  // namespace taloven
