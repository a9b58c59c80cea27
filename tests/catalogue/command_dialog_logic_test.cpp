#include "catalogue/command_dialog_logic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "link/execute.h"
#include "resources/strings.h"
#include "support/record_builders.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedLine;
using testing::ScriptedPortFactory;
using testing::ScriptedUi;
using testing::TestClock;
constexpr ScriptedUi::Cancel kCancel{};

CommandParameter Param(const std::string& type, int size, const std::string& title,
                       bool mandatory = true, const std::string& value = "") {
  return testing::MakeParameter(type, size, title, mandatory, value);
}

CommandRecord Command(const std::string& escape, const std::vector<CommandParameter>& parameters) {
  return testing::MakeCommand("Comando de teste", escape, parameters);
}

// A printer that acknowledges every frame with a fixed reply of no data, or
// stays silent.
class CommandDialogFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_.portName = "COM1:";
    settings_.workingDirectory = directory_.string();
    line_.clock = &clock_;
    Answering(true);
  }

  void Answering(bool answers) {
    if (answers)
      line_.onWrite = [](ScriptedLine& line, const std::vector<uint8_t>&) {
        line.Answer({0x06, 0x00, 0x00});
      };
    else
      line_.onWrite = nullptr;
  }

  CommandDialogLogic Dialog(CommandRecord record) {
    return CommandDialogLogic(std::move(record), settings_, ui_, sender_);
  }

  std::vector<std::string> RowTexts(const CommandDialogLogic& dialog) const {
    std::vector<std::string> texts;
    for (const CommandDialogRow& row : dialog.Rows()) texts.push_back(row.text);
    texts.resize(static_cast<size_t>(used_));
    return texts;
  }

  // The parameter bytes of the n-th frame sent: after STX, length, ESC and
  // the command byte, before the checksum.
  std::string SentParameters(size_t n) const {
    const std::vector<uint8_t>& frame = line_.frames.at(n);
    return std::string(frame.begin() + 5, frame.end() - 2);
  }

  testing::TempDirectory temp_;
  fs::path directory_ = temp_.Path();
  AppSettings settings_;
  TestClock clock_;
  ScriptedUi ui_{&clock_};
  ScriptedLine line_;
  ScriptedPortFactory ports_{line_};
  ExecutingSender sender_{ExecutionContext{settings_, ui_, ports_, clock_}};
  int used_ = 3;
};

TEST_F(CommandDialogFlow, RowsFollowTheParametersWithTheirIdsLimitsAndLabels) {
  CommandDialogLogic dialog = Dialog(Command("35", {
                                                       Param("STRING", 5, "Nome"),
                                                       Param("BINARIO", 1, "Byte", false),
                                                       Param("DIG_HEX", 4, "Hex"),
                                                       Param("NOT_EDITABLE", 2, "Fixo"),
                                                       Param("DIG_HEX_NOT_EDITABLE", 1, "Fixo hex"),
                                                       Param("INTEGER", 6, W("Número")),
                                                   }));
  struct Expected {
    int label, value, edit;
    bool visible;
    std::string label_text;
    int limit;
  };
  const std::vector<Expected> expected{
      {1028, 1003, 1052, true, "Nome *", 5},      {1029, 1004, 1053, true, "Byte", 3},
      {1030, 1005, 1054, true, "Hex *", 8},       {1031, 1006, 1055, false, "Fixo *", 2},
      {1032, 1007, 1056, false, "Fixo hex *", 1}, {1033, 1008, 1057, true, W("Número *"), 6},
      {1034, 1009, 1058, false, "", 0},           {1035, 1010, 1059, false, "", 0},
      {1036, 1011, 1060, false, "", 0},           {1037, 1012, 1061, false, "", 0},
      {1039, 1015, 1062, false, "", 0},           {1040, 1013, 1063, false, "", 0},
  };
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const CommandDialogRow& row = dialog.Rows()[i];
    EXPECT_EQ(row.labelId, expected[i].label);
    EXPECT_EQ(row.valueId, expected[i].value);
    EXPECT_EQ(row.editId, expected[i].edit);
    EXPECT_EQ(row.visible, expected[i].visible);
    EXPECT_EQ(row.label, expected[i].label_text);
    EXPECT_EQ(row.lengthLimit, expected[i].limit);
    EXPECT_EQ(row.text, "");
  }
  EXPECT_EQ(dialog.Caption(), "Comando de teste");
  EXPECT_EQ(dialog.ExtraParametersNote(), "");
}

TEST_F(CommandDialogFlow, OpeningCollectsEveryEditableValueInOrder) {
  CommandDialogLogic dialog = Dialog(
      Command("35", {Param("STRING", 5, "Nome"), Param("NOT_EDITABLE", 2, "Fixo", true, "XY"),
                     Param("INTEGER", 4, "Quantidade")}));
  ui_.PushAll(std::string("AB"), std::string("12"));
  dialog.Open();
  EXPECT_EQ(ui_.PromptKinds(), (std::vector<std::string>{"text", "number"}));
  EXPECT_EQ(RowTexts(dialog), (std::vector<std::string>{"AB   ", "", "0012"}));
  EXPECT_TRUE(line_.frames.empty());

  ASSERT_EQ(dialog.Send(), kExecuteOk);
  EXPECT_EQ(SentParameters(0), "AB   XY0012");
}

TEST_F(CommandDialogFlow, CancelStopsTheCollectionAndLeavesLaterRowsAsTheyAre) {
  CommandDialogLogic dialog = Dialog(
      Command("35", {Param("STRING", 2, "A"), Param("INTEGER", 2, "B"), Param("STRING", 2, "C")}));
  ui_.PushAll(std::string("x"), kCancel);
  dialog.Open();
  EXPECT_EQ(ui_.PromptKinds(), (std::vector<std::string>{"text", "number"}));
  EXPECT_EQ(RowTexts(dialog), (std::vector<std::string>{"x ", "", ""}));

  // The user completes the rest by typing.
  dialog.SetRowText(1, "07");
  dialog.SetRowText(2, "zz");
  ASSERT_EQ(dialog.Send(), kExecuteOk);
  EXPECT_EQ(SentParameters(0), "x 07zz");
}

TEST_F(CommandDialogFlow, CancelledEditShowsAndSendsTheCancelText) {
  CommandDialogLogic dialog = Dialog(Command("35", {Param("STRING", 4, "A")}));
  ui_.PushAll(std::string("ab"), kCancel);
  dialog.Open();
  dialog.Edit(0);
  EXPECT_EQ(dialog.Rows()[0].text, Str(StrId::kError));
  dialog.Send();
  EXPECT_EQ(SentParameters(0), Str(StrId::kError));
  EXPECT_EQ(dialog.Record().parameters[0].value, Str(StrId::kError));
}

TEST_F(CommandDialogFlow, EditReplacesOnlyItsRowAndIgnoresRowsWithoutAParameter) {
  CommandDialogLogic dialog =
      Dialog(Command("35", {Param("STRING", 2, "A"), Param("STRING", 2, "B")}));
  ui_.PushAll(std::string("a"), std::string("b"), std::string("c"));
  dialog.Open();
  dialog.Edit(1);
  dialog.Edit(5);
  dialog.Edit(12);
  dialog.Edit(-1);
  EXPECT_EQ(ui_.PromptKinds().size(), 3u);
  EXPECT_EQ(dialog.Rows()[0].text, "a ");
  EXPECT_EQ(dialog.Rows()[1].text, "c ");
}

TEST_F(CommandDialogFlow, SendingTwiceAppendsTheResultsAndRebuildsTheDump) {
  CommandDialogLogic dialog = Dialog(Command("35", {Param("STRING", 2, "A")}));
  ui_.Push(std::string("ab"));
  dialog.Open();
  ASSERT_EQ(dialog.Send(), kExecuteOk);
  ASSERT_EQ(dialog.Send(), kExecuteOk);

  ASSERT_EQ(line_.frames.size(), 2u);
  EXPECT_EQ(line_.frames[0], line_.frames[1]);
  ASSERT_EQ(ui_.Results().size(), 2u);
  const std::string& first = ui_.Results()[0].first;
  const std::string& second = ui_.Results()[1].first;
  EXPECT_EQ(second.substr(0, first.size()), first);
  EXPECT_GT(second.size(), first.size());
  EXPECT_EQ(ui_.Results()[0].second, ui_.Results()[1].second);
  EXPECT_EQ(ui_.WaitTexts(),
            (std::vector<std::string>{Str(StrId::kPleaseWait), Str(StrId::kPleaseWait)}));
}

struct ResultsCase {
  const char* name;
  int showResults;
  bool printerAnswers;
  bool resultsShown;
};

class ResultsWindowRule : public CommandDialogFlow,
                          public ::testing::WithParamInterface<ResultsCase> {};

TEST_P(ResultsWindowRule, ShowsResultsWhenAskedOrWhenTheCommandFailed) {
  settings_.showResults = GetParam().showResults;
  Answering(GetParam().printerAnswers);
  CommandDialogLogic dialog = Dialog(Command("35", {}));
  dialog.Open();
  EXPECT_TRUE(ui_.Prompts().empty());
  const int result = dialog.Send();
  EXPECT_EQ(result, GetParam().printerAnswers ? kExecuteOk : kExecuteNoReply);
  ASSERT_EQ(ui_.Results().size(), GetParam().resultsShown ? 1u : 0u);
  if (GetParam().resultsShown) {
    EXPECT_EQ(ui_.Results()[0].first, dialog.Record().formattedReturn);
    EXPECT_EQ(ui_.Results()[0].second, dialog.Record().dumpText);
    // The wait window is gone before the results window opens.
    EXPECT_EQ(ui_.WaitTexts().size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(All, ResultsWindowRule,
                         ::testing::Values(ResultsCase{"on_ok", 1, true, true},
                                           ResultsCase{"off_ok", 0, true, false},
                                           ResultsCase{"on_failed", 1, false, true},
                                           ResultsCase{"off_failed", 0, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandDialogFlow, ParameterErrorsAlsoOpenTheResultsWindow) {
  settings_.showResults = 0;
  CommandDialogLogic dialog = Dialog(Command("35", {Param("STRING", 3, "A")}));
  ui_.Push(kCancel);
  dialog.Open();
  EXPECT_EQ(dialog.Send(), kExecuteMandatoryEmpty);
  EXPECT_TRUE(line_.frames.empty());
  EXPECT_EQ(ui_.Results().size(), 1u);
}

TEST_F(CommandDialogFlow, ParametersPastTheTwelfthRowGoWithTheirCatalogueValues) {
  std::vector<CommandParameter> parameters;
  for (int i = 0; i < 12; ++i) parameters.push_back(Param("STRING", 1, "P" + std::to_string(i)));
  parameters.push_back(Param("STRING", 2, "P12", true, "mn"));
  parameters.push_back(Param("INTEGER", 2, "P13", true, "42"));
  CommandDialogLogic dialog = Dialog(Command("35", parameters));
  for (int i = 0; i < 12; ++i) ui_.Push(std::string(1, static_cast<char>('a' + i)));
  dialog.Open();
  EXPECT_TRUE(ui_.AllAnswered());
  EXPECT_EQ(ui_.Prompts().size(), 12u);
  for (const CommandDialogRow& row : dialog.Rows()) EXPECT_TRUE(row.visible);

  dialog.SetRowText(12, "zz");
  ASSERT_EQ(dialog.Send(), kExecuteOk);
  EXPECT_EQ(SentParameters(0), "abcdefghijklmn42");
  EXPECT_EQ(dialog.ExtraParameterCount(), 2);
  EXPECT_EQ(dialog.ExtraParametersNote(),
            W("2 parâmetros adicionais serão enviados com os valores do catálogo"));

  parameters.pop_back();
  EXPECT_EQ(Dialog(Command("35", parameters)).ExtraParametersNote(),
            W("1 parâmetro adicional será enviado com o valor do catálogo"));
}

std::vector<CommandParameter> ClockParameters() {
  return {Param("DATA", 6, "Data"), Param("HORA", 6, "Hora"),
          Param("BINARIO", 1, W("Horário de verão"))};
}

TEST_F(CommandDialogFlow, ClockCommandConfirmedIsSentAtOnceWithTheComputersMoment) {
  CommandDialogLogic dialog = Dialog(Command("2", ClockParameters()));
  ui_.PushAll(TimeAnswer{{9, 3, 2025}, {14, 5, 7}, true}, MessageAnswer::Yes);
  dialog.Open();

  ASSERT_EQ(ui_.Prompts().size(), 4u);
  EXPECT_EQ(ui_.Prompts()[0].kind, "time");
  EXPECT_EQ(ui_.Prompts()[0].details, std::vector<std::string>{"clock"});
  EXPECT_EQ(ui_.Prompts()[0].text, W("Aceitar data e horário do computador?"));
  EXPECT_EQ(ui_.Prompts()[1].kind, "message");
  EXPECT_EQ(ui_.Prompts()[1].text, W("A data está correta?\r\n090325"));
  EXPECT_EQ(ui_.Prompts()[2].kind, "wait");
  EXPECT_EQ(ui_.Prompts()[3].kind, "results");
  EXPECT_EQ(RowTexts(dialog), (std::vector<std::string>{"090325", "140507", "1"}));
  ASSERT_EQ(line_.frames.size(), 1u);
  EXPECT_EQ(SentParameters(0), std::string("090325140507") + '\x01');
}

struct ClockFallback {
  const char* name;
  std::vector<ScriptedUi::Answer> clockAnswers;
};

class ClockCommandNotConfirmed : public CommandDialogFlow,
                                 public ::testing::WithParamInterface<ClockFallback> {};

TEST_P(ClockCommandNotConfirmed, FallsBackToCollectingEveryParameter) {
  CommandDialogLogic dialog = Dialog(Command("2", ClockParameters()));
  for (const auto& answer : GetParam().clockAnswers) ui_.Push(answer);
  ui_.PushAll(Date{1, 2, 2024}, TimeAnswer{{}, {3, 4, 5}, true}, std::string("0"));
  dialog.Open();
  EXPECT_TRUE(ui_.AllAnswered());
  EXPECT_TRUE(line_.frames.empty());
  EXPECT_EQ(RowTexts(dialog), (std::vector<std::string>{"010224", "030405", "000"}));
}

INSTANTIATE_TEST_SUITE_P(All, ClockCommandNotConfirmed,
                         ::testing::Values(ClockFallback{"date_refused",
                                                         {TimeAnswer{{9, 3, 2025}, {14, 5, 7}},
                                                          MessageAnswer::No}},
                                           ClockFallback{"clock_cancelled", {kCancel}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandDialogFlow, OnlyTheExactEscapeTwoIsTheClockCommand) {
  CommandDialogLogic dialog = Dialog(Command("2 0", {Param("STRING", 1, "A")}));
  ui_.Push(std::string("q"));
  dialog.Open();
  EXPECT_EQ(ui_.PromptKinds(), std::vector<std::string>{"text"});
}

}  // namespace
}  // namespace taloven
