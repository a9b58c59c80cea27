#include "replies/results_save.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "base/encoding.h"
#include "replies/hex_dump.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::ReadFileBytes;
using testing::ScriptedUi;
using testing::TempDirectory;

const std::string kMessage = "\r\nComando:\tX\r\nCOMANDO OK";
const std::string kDump = "CMD:  1B 23\r\nRET:  06 00 00\r\n";

TEST(SaveResults, EachChoiceWritesItsTextInTextModeAndOpensTheFile) {
  const struct {
    int choice;
    std::string written;
  } cases[] = {
      {1, kMessage},
      {2, HexDumpText(kDump)},
      {3, kMessage + HexDumpText(kDump)},
  };
  for (const auto& c : cases) {
    TempDirectory dir;
    const std::string path = (dir.Path() / "Msg_Ret.txt").string();
    ScriptedUi ui;
    ui.PushAll(path, c.choice);
    EXPECT_EQ(SaveResults(ui, kMessage, kDump), path);
    std::string expected;
    for (char ch : c.written) expected += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    EXPECT_EQ(ReadFileBytes(path), expected) << c.choice;
    EXPECT_EQ(ui.Opened(), std::vector<std::string>{path});
    ASSERT_EQ(ui.PromptKinds(), (std::vector<std::string>{"save", "options", "shellopen"}));
    EXPECT_EQ(ui.Prompts()[0].text, "Msg_Ret");
    EXPECT_EQ(ui.Prompts()[0].details, std::vector<std::string>{"*.txt"});
    EXPECT_EQ(ui.Prompts()[1].details,
              (std::vector<std::string>{"Mensagem", "Dump", "Mensagem + Dump"}));
  }
}

TEST(SaveResults, CancellingEitherDialogWritesNothing) {
  TempDirectory dir;
  const std::string path = (dir.Path() / "out.txt").string();
  {
    ScriptedUi ui;
    ui.Push(ScriptedUi::Cancel{});
    EXPECT_FALSE(SaveResults(ui, kMessage, kDump));
    EXPECT_EQ(ui.PromptKinds(), std::vector<std::string>{"save"});
  }
  {
    ScriptedUi ui;
    ui.PushAll(path, ScriptedUi::Cancel{});
    EXPECT_FALSE(SaveResults(ui, kMessage, kDump));
    EXPECT_TRUE(ui.Opened().empty());
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(SaveResults, UnwritableFileIsReportedAndNotOpened) {
  TempDirectory dir;
  const std::string path = (dir.Path() / "missing" / "out.txt").string();
  ScriptedUi ui;
  ui.PushAll(path, 1);
  EXPECT_FALSE(SaveResults(ui, kMessage, kDump));
  EXPECT_TRUE(ui.Opened().empty());
  ASSERT_EQ(ui.PromptKinds(), (std::vector<std::string>{"save", "options", "message"}));
  EXPECT_NE(ui.Prompts()[2].text.find(path), std::string::npos);
  EXPECT_NE(ui.Prompts()[2].text.find("No such file or directory"), std::string::npos);
}

TEST(SaveResults, FailedWriteKeepsTheOldFileWholeAndLeavesNoScraps) {
  TempDirectory dir;
  const std::string path = (dir.Path() / "out.txt").string();
  std::ofstream(path, std::ios::binary) << "old results";
  // A file-size limit makes the write fail part way, even for root.
  ::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 8;
  ::setrlimit(RLIMIT_FSIZE, &small);
  ScriptedUi ui;
  ui.PushAll(path, 3);
  const auto saved_path = SaveResults(ui, kMessage, kDump);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(saved_path);
  EXPECT_EQ(ReadFileBytes(path), "old results");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
  EXPECT_EQ(ui.PromptKinds().back(), "message");
}

TEST(SaveResults, ExistingFileIsReplacedAndAnAccentedNameIsKept) {
  TempDirectory dir;
  const std::string utf8Path = (dir.Path() / "relatório.txt").string();
  std::ofstream(utf8Path, std::ios::binary) << "a much longer old content than the new one";
  ScriptedUi ui;
  ui.PushAll(Utf8ToCp1252(utf8Path), 1);
  ASSERT_TRUE(SaveResults(ui, "novo", kDump));
  EXPECT_EQ(ReadFileBytes(utf8Path), "novo");
}

TEST(SaveResults, OpenerThatCannotStartIsReported) {
  TempDirectory dir;
  const std::string path = (dir.Path() / "out.txt").string();
  ScriptedUi ui;
  ui.shellOpenSucceeds = false;
  ui.PushAll(path, 2);
  EXPECT_TRUE(SaveResults(ui, kMessage, kDump));
  EXPECT_EQ(ui.PromptKinds(),
            (std::vector<std::string>{"save", "options", "shellopen", "message"}));
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace taloven
