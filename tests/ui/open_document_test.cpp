#include "ui/open_document.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/encoding.h"
#include "support/scripted_ui.h"

namespace taloven {
namespace {

TEST(OpenDocument, OpensOnlyWhatExistsAndSaysWhyNot) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("taloven_open_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string present = (dir / W("referência.xml")).string();
  std::ofstream(Cp1252ToUtf8(present)) << "<x/>";
  const std::string help = (dir / "Taloven_Help.CHM").string();
  std::ofstream(help) << "ITSF";

  const struct {
    const char* name;
    std::string path;
    bool openerWorks;
    bool opened;
    const char* message;  // start of the message shown, or nothing
  } cases[] = {
      {"present file", present, true, true, nullptr},
      {"missing file", (dir / "help/Taloven_Help.chm").string(), true, false,
       "O arquivo não foi encontrado:\r\n"},
      {"a directory is no document", dir.string(), true, false, "O arquivo não foi encontrado"},
      {"opener fails", present, false, false, "Não foi possível abrir o arquivo:\r\n"},
      {"no help viewer", help, false, false, "Não foi possível abrir o arquivo:\r\n"},
  };
  for (const auto& c : cases) {
    testing::ScriptedUi ui;
    ui.shellOpenSucceeds = c.openerWorks;
    EXPECT_EQ(OpenDocument(ui, c.path), c.opened) << c.name;
    if (c.message) {
      ASSERT_FALSE(ui.Prompts().empty()) << c.name;
      const auto& shown = ui.Prompts().back();
      EXPECT_EQ(shown.kind, "message") << c.name;
      EXPECT_EQ(shown.text.rfind(W(c.message), 0), 0u) << c.name << ": " << shown.text;
      EXPECT_NE(shown.text.find(c.path), std::string::npos) << c.name;
      // The package to install is named: the help viewer for help files.
      const bool isHelp = c.path == help;
      EXPECT_EQ(shown.text.find("apt-get install xchm") != std::string::npos, isHelp) << c.name;
    } else {
      EXPECT_EQ(ui.Opened(), std::vector<std::string>{c.path}) << c.name;
      EXPECT_EQ(ui.PromptKinds(), std::vector<std::string>{"shellopen"}) << c.name;
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace taloven
