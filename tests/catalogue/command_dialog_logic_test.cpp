#include "catalogue/command_dialog_logic.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "resources/strings.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedUi;
using Cancel = ScriptedUi::Cancel;

CommandParameter Param(const std::string& type, int size, bool mandatory = true,
                       const std::string& value = "") {
  CommandParameter p;
  p.title = type;
  p.type = type;
  p.size = size;
  p.mandatory = mandatory ? 1 : 0;
  p.value = value;
  return p;
}

class CommandDialogLogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() /
                 ("taloven-command-dialog-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(directory_);
    settings_.portName = "COM1:";
    settings_.workingDirectory = directory_.string();
    line_.clock = &clock_;
  }
  void TearDown() override { fs::remove_all(directory_); }

  CommandRecord Command(const std::string& escape, std::vector<CommandParameter> parameters) {
    CommandRecord record;
    record.SetTitle("Comando de teste");
    record.SetEscapeText(escape);
    for (auto& p : parameters) record.AppendParameter(p);
    return record;
  }
  void PrinterAnswersOk() {
    line_.onWrite = [](testing::ScriptedLine& line, const std::vector<uint8_t>&) {
      line.Answer({0x06, 0x00, 0x00});
    };
  }
  ExecutionContext Context() { return {settings_, ui_, ports_, clock_}; }

  fs::path directory_;
  AppSettings settings_;
  testing::TestClock clock_;
  ScriptedUi ui_{&clock_};
  testing::ScriptedLine line_;
  testing::ScriptedPortFactory ports_{line_};
};

TEST_F(CommandDialogLogicTest, RowsLabelsLimitsAndHiding) {
  CommandDialogLogic logic(
      Command("35", {Param("BINARIO", 1), Param("DIG_HEX", 4, false),
                     Param("NOT_EDITABLE", 2, true, "AB"), Param("STRING", 20)}));
  EXPECT_EQ(logic.UsedRows(), 4);
  EXPECT_EQ(logic.RowLimit(0), 3);
  EXPECT_EQ(logic.RowLimit(1), 8);
  EXPECT_EQ(logic.RowLimit(3), 20);
  EXPECT_EQ(logic.RowLabel(0), "BINARIO *");
  EXPECT_EQ(logic.RowLabel(1), "DIG_HEX");
  EXPECT_TRUE(logic.RowShown(0));
  EXPECT_FALSE(logic.RowShown(2));
  EXPECT_FALSE(logic.RowShown(4));
  EXPECT_EQ(logic.ExtraParametersNote(), "");
}

TEST_F(CommandDialogLogicTest, OpeningCollectsEditableRowsAndStopsAtACancel) {
  CommandDialogLogic logic(Command("35", {Param("INTEGER", 4), Param("NOT_EDITABLE", 2),
                                          Param("STRING", 3), Param("INTEGER", 2)}));
  ui_.PushAll(std::string("12"), Cancel{});
  auto context = Context();
  logic.Open(context);
  EXPECT_EQ(ui_.PromptKinds(), (std::vector<std::string>{"number", "text"}));
  EXPECT_EQ(logic.RowText(0), "0012");
  EXPECT_EQ(logic.RowText(2), "");
  EXPECT_EQ(logic.RowText(3), "");
  EXPECT_TRUE(ui_.AllAnswered());
}

TEST_F(CommandDialogLogicTest, EditCancelledLeavesErroAndSendsIt) {
  CommandDialogLogic logic(Command("35", {Param("STRING", 4)}));
  ui_.Push(Cancel{});
  logic.Edit(0, ui_);
  EXPECT_EQ(logic.RowText(0), Str(32782));
  PrinterAnswersOk();
  auto context = Context();
  EXPECT_EQ(logic.Send(context), kExecuteOk);
  EXPECT_EQ(logic.Record().parameters[0].value, Str(32782));
}

TEST_F(CommandDialogLogicTest, SendingTwiceAppendsTheResults) {
  settings_.showResults = 1;
  CommandDialogLogic logic(Command("35", {Param("NOT_EDITABLE", 2, true, "AB")}));
  auto context = Context();
  logic.Open(context);
  EXPECT_TRUE(ui_.Prompts().empty());
  PrinterAnswersOk();
  EXPECT_EQ(logic.Send(context), kExecuteOk);
  EXPECT_EQ(logic.Send(context), kExecuteOk);
  ASSERT_EQ(ui_.Results().size(), 2u);
  const std::string& second = ui_.Results()[1].first;
  EXPECT_EQ(second.substr(0, ui_.Results()[0].first.size()), ui_.Results()[0].first);
  EXPECT_GT(second.size(), ui_.Results()[0].first.size());
  EXPECT_EQ(line_.frames.size(), 2u);
  EXPECT_EQ(line_.frames[0], line_.frames[1]);
  EXPECT_EQ(ui_.WaitTexts(), (std::vector<std::string>{Str(32964), Str(32964)}));
}

TEST_F(CommandDialogLogicTest, ResultsOnlyOnFailureWhenTurnedOff) {
  settings_.showResults = 0;
  CommandDialogLogic logic(Command("35", {}));
  auto context = Context();
  PrinterAnswersOk();
  EXPECT_EQ(logic.Send(context), kExecuteOk);
  EXPECT_TRUE(ui_.Results().empty());
  line_.onWrite = nullptr;  // the printer stays silent
  EXPECT_EQ(logic.Send(context), kExecuteNoReply);
  ASSERT_EQ(ui_.Results().size(), 1u);
  EXPECT_NE(ui_.Results()[0].first.find(Str(32778)), std::string::npos);
}

TEST_F(CommandDialogLogicTest, DateAndTimeCommandSendsTheComputerClock) {
  settings_.showResults = 0;
  CommandDialogLogic logic(Command("2", {Param("DATA", 6), Param("HORA", 6), Param("INTEGER", 1)}));
  PrinterAnswersOk();
  ui_.PushAll(TimeAnswer{{7, 3, 2025}, {9, 5, 3}, true}, MessageAnswer::Yes);
  auto context = Context();
  logic.Open(context);
  EXPECT_EQ(ui_.PromptKinds(), (std::vector<std::string>{"time", "message", "wait"}));
  EXPECT_EQ(ui_.Prompts()[0].details[0], "clock");
  EXPECT_EQ(ui_.Prompts()[1].text, Str(32986) + "\r\n070325");
  EXPECT_EQ(logic.Record().parameters[0].value, "070325");
  EXPECT_EQ(logic.Record().parameters[1].value, "090503");
  EXPECT_EQ(logic.Record().parameters[2].value, "1");
  EXPECT_EQ(line_.frames.size(), 1u);
}

TEST_F(CommandDialogLogicTest, DateAndTimeDeclinedFallsBackToCollecting) {
  CommandDialogLogic logic(Command("2", {Param("DATA", 6), Param("HORA", 6)}));
  ui_.PushAll(TimeAnswer{{7, 3, 2025}, {9, 5, 3}, false}, MessageAnswer::No, Date{1, 2, 2024},
              TimeAnswer{{}, {8, 0, 0}, false});
  auto context = Context();
  logic.Open(context);
  EXPECT_EQ(ui_.PromptKinds(), (std::vector<std::string>{"time", "message", "date", "time"}));
  EXPECT_EQ(logic.RowText(0), "010224");
  EXPECT_EQ(logic.RowText(1), "080000");
  EXPECT_TRUE(line_.frames.empty());
}

TEST_F(CommandDialogLogicTest, ParametersBeyondTwelveKeepTheirCatalogueValues) {
  std::vector<CommandParameter> parameters;
  for (int i = 0; i < 14; ++i) parameters.push_back(Param("STRING_VAR_SIZE", 2, true, "v"));
  CommandDialogLogic logic(Command("35", parameters));
  EXPECT_EQ(logic.UsedRows(), 12);
  EXPECT_NE(logic.ExtraParametersNote().find("13 a 14"), std::string::npos);
  for (int i = 0; i < 12; ++i) ui_.Push(std::string("x"));
  auto context = Context();
  logic.Open(context);
  EXPECT_TRUE(ui_.AllAnswered());
  PrinterAnswersOk();
  logic.Send(context);
  EXPECT_EQ(logic.Record().parameters[11].value, "x");
  EXPECT_EQ(logic.Record().parameters[12].value, "v");
  EXPECT_EQ(logic.Record().parameters[13].value, "v");
}

}  // namespace
}  // namespace taloven
