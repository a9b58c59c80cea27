#include "sequences/sequence_runner.h"

#include <gtest/gtest.h>

#include <numeric>

#include "base/encoding.h"
#include "resources/strings.h"
#include "support/record_builders.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

using testing::MakeCommand;
using testing::MakeParameter;
using testing::ScriptedLine;
using testing::ScriptedPortFactory;
using testing::ScriptedUi;

constexpr uint8_t kSilentCode = 99;

// Commands the scripted printer answers at once, except the silent one; "M"
// has a mandatory parameter left empty.
CommandRecord Command(const std::string& title) {
  if (title == "M") return MakeCommand("M", "7", {MakeParameter("NUMERO", 2, "N", true, "")});
  if (title == "MUDO") return MakeCommand("MUDO", std::to_string(kSilentCode), {});
  return MakeCommand(title, std::to_string(title[0] - 'A' + 1), {});
}

// The message reduced to its landmarks: S and E for the banners, then the
// titles of the commands whose results it holds, in order.
std::string Skeleton(const std::string& message, const std::vector<std::string>& titles) {
  std::vector<std::pair<std::string, std::string>> marks = {{Str(StrId::kSequenceStartBanner), "S"},
                                                            {Str(StrId::kSequenceEndBanner), "E"}};
  for (const std::string& title : titles) marks.push_back({":\t" + title + "\r\n", title});
  std::string skeleton;
  size_t at = 0;
  while (true) {
    size_t best = std::string::npos;
    const std::pair<std::string, std::string>* found = nullptr;
    for (const auto& mark : marks) {
      const size_t where = message.find(mark.first, at);
      if (where < best) best = where, found = &mark;
    }
    if (!found) return skeleton;
    skeleton += (skeleton.empty() ? "" : " ") + found->second;
    at = best + found->first.size();
  }
}

class Runner : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_.workingDirectory = temp_.Path().string();
    line_.clock = &clock_;
    line_.onWrite = [](ScriptedLine& line, const std::vector<uint8_t>& frame) {
      if (frame.at(4) != kSilentCode) line.Answer({0x06, 0x00, 0x00});
    };
  }

  CommandSequence Sequence(const std::vector<std::string>& titles) {
    CommandSequence sequence;
    sequence.name = "TESTE";
    for (const std::string& title : titles) sequence.InsertCommand(Command(title));
    return sequence;
  }

  ExecutionContext Context() { return {settings_, ui_, ports_, clock_}; }

  int TotalPause() const { return std::accumulate(ui_.Pauses().begin(), ui_.Pauses().end(), 0); }

  testing::TempDirectory temp_;
  AppSettings settings_;
  testing::TestClock clock_;
  ScriptedUi ui_{&clock_};
  ScriptedLine line_;
  ScriptedPortFactory ports_{line_};
};

struct RunCase {
  const char* name;
  std::vector<std::string> titles;
  int repetitions;
  bool stepByStep;
  std::vector<MessageAnswer> stepAnswers;
  int cancelRunAtPump;  // 0: never
  bool cancelReply;
  int result;
  std::string skeleton;
  std::string tail;  // UTF-8
  size_t frames;
};

class RunCases : public Runner, public ::testing::WithParamInterface<RunCase> {};

TEST_P(RunCases, GiveTheirResultAndTexts) {
  const RunCase& c = GetParam();
  for (MessageAnswer answer : c.stepAnswers) ui_.Push(answer);
  ui_.onProgressPump = [&](ScriptedUi::ProgressRecord& window) {
    ProgressEvents events;
    if (window.title == Str(StrId::kRunningSequence))
      events.cancelClicked = window.pumps == c.cancelRunAtPump;
    if (window.title == Str(StrId::kProgress)) events.cancelClicked = c.cancelReply;
    return events;
  };
  CommandSequence sequence = Sequence(c.titles);
  ExecutionContext context = Context();
  const SequenceRunResults results =
      RunSequenceRepeatedly(sequence, {c.repetitions, 0, c.stepByStep}, context);

  EXPECT_EQ(results.result, c.result);
  EXPECT_EQ(Skeleton(results.message, c.titles), c.skeleton);
  const std::string tail = W(c.tail);
  EXPECT_EQ(results.message.substr(results.message.size() -
                                   std::min(tail.size(), results.message.size())),
            tail);
  EXPECT_EQ(line_.frames.size(), c.frames);
  EXPECT_TRUE(ui_.AllAnswered());
  EXPECT_TRUE(sequence.commands.empty() || sequence.commands[0].formattedReturn.empty())
      << "runs work on copies";
  for (const auto& window : ui_.Progress()) EXPECT_TRUE(window->destroyed);
}

const std::string kEnd = "***Fim de execução de sequência de comandos***\r\n";

INSTANTIATE_TEST_SUITE_P(
    Sequences, RunCases,
    ::testing::Values(
        RunCase{"TwoRepetitionsOfTwo",
                {"A", "B"},
                2,
                false,
                {},
                0,
                false,
                0,
                "S A B E S A B E",
                kEnd,
                4},
        RunCase{"ZeroRepetitionsRunOnce", {"A"}, 0, false, {}, 0, false, 0, "S A E", kEnd, 1},
        RunCase{"NoReplyStopsEveryRepetition",
                {"A", "MUDO", "B"},
                2,
                false,
                {},
                0,
                false,
                kExecuteNoReply,
                "S A MUDO E",
                kEnd + "Falha no envio do comando",
                2},
        RunCase{"CancelledReply",
                {"MUDO", "A"},
                1,
                false,
                {},
                0,
                true,
                kExecuteCancelled,
                "S MUDO E",
                kEnd + "Comando cancelado.",
                1},
        RunCase{"CancelledRunAddsNoEndBanner",
                {"A", "B", "C"},
                2,
                false,
                {},
                2,
                false,
                kSequenceCancelled,
                "S A",
                "Sequência cancelada.",
                1},
        RunCase{"MandatoryParameterEmpty",
                {"M", "A"},
                1,
                false,
                {},
                0,
                false,
                kExecuteMandatoryEmpty,
                "S M E",
                kEnd + "Parâmetro obrigatório não preenchido",
                0},
        RunCase{"StepCancelEndsOnlyThatRun",
                {"A", "B", "C"},
                2,
                true,
                {MessageAnswer::Cancel, MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Ok},
                0,
                false,
                0,
                "S A S A B C E",
                kEnd,
                4}),
    [](const auto& info) { return info.param.name; });

TEST_F(Runner, AnEmptySequenceGivesBothBanners) {
  CommandSequence sequence;
  ExecutionContext context = Context();
  EXPECT_EQ(RunSequence(sequence, context), 0);
  EXPECT_EQ(sequence.messageText, "\r\n" + Str(StrId::kSequenceStartBanner) + "\r\n\r\n\r\n" +
                                      Str(StrId::kSequenceEndBanner) + "\r\n");
  ASSERT_EQ(ui_.Progress().size(), 1u);
  EXPECT_EQ(ui_.Progress()[0]->title, W("Executando sequência"));
}

TEST_F(Runner, TheWaitFollowsEverySuccessfulCommandAndTheLast) {
  CommandSequence sequence = Sequence({"A", "B", "C"});
  ExecutionContext context = Context();
  RunSequenceRepeatedly(sequence, {1, 0, false}, context);
  const int withoutWait = TotalPause();
  const int64_t clockBefore = clock_.MonotonicMs();
  RunSequenceRepeatedly(sequence, {1, 2, false}, context);
  EXPECT_EQ(TotalPause() - 2 * withoutWait, 3 * 2000);
  EXPECT_GE(clock_.MonotonicMs() - clockBefore, 3 * 2000);
}

TEST_F(Runner, CancelDuringTheWaitStopsBeforeTheNextCommand) {
  ui_.onProgressPump = [](ScriptedUi::ProgressRecord& window) {
    ProgressEvents events;
    events.cancelClicked = window.title == Str(StrId::kRunningSequence) && window.pumps == 3;
    return events;
  };
  CommandSequence sequence = Sequence({"A", "B"});
  sequence.waitMilliseconds = 60000;
  ExecutionContext context = Context();
  EXPECT_EQ(RunSequence(sequence, context), kSequenceCancelled);
  EXPECT_EQ(line_.frames.size(), 1u);
  EXPECT_LT(TotalPause(), 1000);
}

TEST_F(Runner, ResultsAreShownOnlyWhenAskedFor) {
  CommandSequence sequence = Sequence({"A", "MUDO"});
  for (int show : {1, 0}) {
    settings_.showResults = show;
    ExecutionContext context = Context();
    EXPECT_EQ(ExecuteSequence(sequence, {1, 0, false}, context), kExecuteNoReply);
  }
  ASSERT_EQ(ui_.Results().size(), 1u);
  EXPECT_EQ(Skeleton(ui_.Results()[0].first, {"A", "MUDO"}), "S A MUDO E");
  EXPECT_NE(ui_.Results()[0].second.find("CMD:"), std::string::npos);
}

TEST(RunFields, AreReadAsTheWindowReadsThem) {
  const struct {
    const char* text;
    int lower, result;
    std::string message;
  } cases[] = {
      {"5", 1, 5, ""},
      {" 12 ", 0, 12, ""},
      {"0", 1, 0, W("Digite um número inteiro entre 1 e 99.")},
      {"-3", 0, -3, W("Digite um número inteiro entre 0 e 99.")},
      {"", 1, 7, W("Digite um número inteiro.")},
      {"x1", 0, 7, W("Digite um número inteiro.")},
  };
  for (const auto& c : cases) {
    ScriptedUi ui;
    EXPECT_EQ(ReadRunField(c.text, c.lower, 99, 7, ui), c.result) << c.text;
    EXPECT_EQ(ui.Prompts().empty() ? "" : ui.Prompts()[0].text, c.message) << c.text;
  }
}

}  // namespace
}  // namespace taloven
