#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "link/execute.h"
#include "replies/daily_log.h"
#include "resources/strings.h"
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

class ExecuteOverLine : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_.portName = "COM1:";
    settings_.workingDirectory = directory_.string();
    line_.clock = &clock_;
  }

  CommandRecord Command(int returnSize) {
    CommandRecord record;
    record.SetTitle("Leitura");
    record.SetEscapeText("35");
    record.SetReturnSize(returnSize);
    return record;
  }

  int Run(CommandRecord& record) {
    ExecutionContext context{settings_, ui_, ports_, clock_};
    return Execute(record, context);
  }

  bool Logged() { return fs::exists(LogFilePath(settings_.workingDirectory, clock_.LocalTime())); }

  int PausesOf(int ms) const {
    return static_cast<int>(std::count(ui_.Pauses().begin(), ui_.Pauses().end(), ms));
  }

  static bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
  }

  testing::TempDirectory temp_;
  fs::path directory_ = temp_.Path();
  AppSettings settings_;
  TestClock clock_;
  ScriptedUi ui_{&clock_};
  ScriptedLine line_;
  ScriptedPortFactory ports_{line_};
};

TEST_F(ExecuteOverLine, FixedReplyIsReadWholeAndLogged) {
  CommandRecord record = Command(2);
  ReturnField text;
  text.title = "Texto";
  text.type = "ASCII";
  text.size = 2;
  record.AppendReturnField(text);
  line_.Answer({0x06, 'A', 'B', 0x00, 0x00});
  ASSERT_EQ(Run(record), kExecuteOk);

  EXPECT_EQ(line_.createdNames, std::vector<std::string>{"COM1:"});
  EXPECT_EQ(line_.calls, (std::vector<std::string>{"open 9600", "purge", "write", "close"}));
  EXPECT_EQ(line_.frames.at(0), (std::vector<uint8_t>{0x02, 0x04, 0x00, 0x1B, 0x23, 0x3E, 0x00}));
  EXPECT_EQ(record.replyBytes, (std::vector<uint8_t>{0x06, 'A', 'B', 0x00, 0x00}));
  EXPECT_EQ(record.dumpText, "CMD:  02 04 00 1B 23 3E 00\r\nRET:  06 41 42 00 00\r\n");
  EXPECT_EQ(record.replyLength, 3);
  EXPECT_EQ(record.returnSize, 2);
  EXPECT_EQ(record.formattedReturn.rfind("\r\n" + Str(StrId::kCommand) + ":\tLeitura\r\n", 0), 0u);
  EXPECT_NE(record.formattedReturn.find("COMANDO OK"), std::string::npos);
  EXPECT_NE(record.formattedReturn.find("Texto:\tAB"), std::string::npos);
  EXPECT_EQ(record.returnFields[0].value, "AB");
  EXPECT_EQ(line_.livePorts, 0);
  EXPECT_EQ(ui_.Pauses().at(0), 100);
  EXPECT_EQ(ui_.Pauses().at(1), 300);

  ASSERT_EQ(ui_.Progress().size(), 1u);
  const auto& progress = *ui_.Progress()[0];
  EXPECT_EQ(progress.title, "Progresso");
  EXPECT_EQ(progress.messages, std::vector<std::string>{"Recebendo Retorno..."});
  EXPECT_EQ(progress.upper, 5);
  EXPECT_EQ(progress.position, 5);
  EXPECT_EQ(progress.captions.back(), "Progresso [100%]");
  EXPECT_TRUE(progress.destroyed);
  EXPECT_TRUE(Logged());
}

TEST_F(ExecuteOverLine, ExtendedReturnAsksForTwoMoreBytes) {
  settings_.extendedReturn = 1;
  CommandRecord record = Command(1);
  line_.Answer({0x06, 'A', 0x00, 0x00, 0x00, 0x00});
  ASSERT_EQ(Run(record), kExecuteOk);
  EXPECT_EQ(line_.frames.at(0)[3], 0x1C);
  EXPECT_EQ(record.replyBytes.size(), 6u);
  EXPECT_EQ(record.replyLength, 5);
  EXPECT_TRUE(line_.script.empty());
}

struct MissCase {
  int silences;  // consecutive failed reads after the first byte
  int result;
};

class FixedReplyMisses : public ExecuteOverLine, public ::testing::WithParamInterface<MissCase> {};

TEST_P(FixedReplyMisses, FortySecondMissInARowEndsTheWait) {
  CommandRecord record = Command(2);
  line_.Answer({0x06});
  line_.Silence(GetParam().silences);
  line_.Answer({'A', 'B', 0x00, 0x00});
  EXPECT_EQ(Run(record), GetParam().result);
  EXPECT_EQ(PausesOf(300), 1 + GetParam().silences);
  if (GetParam().result == kExecuteNoReply) {
    EXPECT_TRUE(EndsWith(record.formattedReturn, Str(StrId::kSendFailed)));
    EXPECT_EQ(record.dumpText, "CMD:  02 04 00 1B 23 3E 00\r\nRET:  06\r\n");
    EXPECT_EQ(line_.calls.back(), "close");
    EXPECT_TRUE(Logged());
  }
  EXPECT_EQ(line_.livePorts, 0);
}

INSTANTIATE_TEST_SUITE_P(Counts, FixedReplyMisses,
                         ::testing::Values(MissCase{41, kExecuteOk},
                                           MissCase{42, kExecuteNoReply}));

TEST_F(ExecuteOverLine, EveryByteStartsTheMissCountAgain) {
  CommandRecord record = Command(2);
  line_.Silence(41);
  line_.Answer({0x06});
  line_.Silence(41);
  line_.Answer({'A'});
  line_.Silence(41);
  line_.Answer({'B', 0x00, 0x00});
  EXPECT_EQ(Run(record), kExecuteOk);
}

TEST_F(ExecuteOverLine, VariableReplyTextIsTranslatedAndEndsAtEtx) {
  CommandRecord record = Command(-1);
  line_.Answer({0x06, 0x00, 0x00, 'A', 'B', '\n'});
  line_.Silence(200);  // the text may pause as long as the printer likes
  line_.Answer({0x87, 0x00, 0xC4, 0x03, 'Z'});
  ASSERT_EQ(Run(record), kExecuteOk);
  EXPECT_EQ(record.formattedReturn, "COMANDO OK\r\nAB\r\n\xE7-");
  EXPECT_EQ(record.replyBytes, (std::vector<uint8_t>{0x06, 0x00, 0x00}));
  EXPECT_EQ(record.dumpText,
            "CMD:  02 04 00 1B 23 3E 00\r\nRET:  06 00 00 41 42 0A 87 00 C4 03\r\n");
  EXPECT_EQ(line_.script.size(), 1u);  // what follows the ETX is left alone
  EXPECT_EQ(ui_.Progress().at(0)->upper, 1000);
  EXPECT_EQ(ui_.Progress().at(0)->captions.size(), 1u);
}

TEST_F(ExecuteOverLine, VariableReplyWithExtendedReturnShowsItsCode) {
  settings_.extendedReturn = 1;
  CommandRecord record = Command(-1);
  line_.Answer({0x06, 0x00, 0x00, 0x40, 0x00, 'X', 0x03});
  ASSERT_EQ(Run(record), kExecuteOk);
  EXPECT_EQ(record.replyBytes.size(), 5u);
  EXPECT_EQ(record.formattedReturn, W("COMANDO OK\r\n\r\n FP ABERTA\r\nX"));
}

struct HeaderCase {
  int before, after;  // failed reads before and after the first header byte
  int result;
};

class VariableHeaderMisses : public ExecuteOverLine,
                             public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(VariableHeaderMisses, TwelfthMissOfTheHeaderEndsTheWait) {
  CommandRecord record = Command(-1);
  line_.Silence(GetParam().before);
  line_.Answer({0x06});
  line_.Silence(GetParam().after);
  line_.Answer({0x00, 0x00, 0x03});
  EXPECT_EQ(Run(record), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Counts, VariableHeaderMisses,
                         ::testing::Values(HeaderCase{11, 0, kExecuteOk},
                                           HeaderCase{12, 0, kExecuteNoReply},
                                           HeaderCase{6, 5, kExecuteOk},
                                           HeaderCase{6, 6, kExecuteNoReply}));

TEST_F(ExecuteOverLine, DeadLineDuringTheTextCostsPausesNotCpu) {
  line_.clock = nullptr;  // failed reads come back at once
  CommandRecord record = Command(-1);
  line_.Answer({0x06, 0x00, 0x00});
  line_.Silence(30);
  line_.Answer({0x03});
  ASSERT_EQ(Run(record), kExecuteOk);
  EXPECT_EQ(PausesOf(100), 30 + 1);  // one is the settling pause after the purge
}

TEST_F(ExecuteOverLine, CancelDrainsTheLineAndSaysSo) {
  CommandRecord record = Command(10);
  line_.Answer({0x06, 'A', 'B', 'C', 'D', 'E', 'F'});
  ui_.onProgressPump = [](ScriptedUi::ProgressRecord& progress) {
    return ProgressEvents{.cancelClicked = progress.position == 2};
  };
  ASSERT_EQ(Run(record), kExecuteCancelled);
  EXPECT_TRUE(line_.script.empty());  // drained
  EXPECT_EQ(record.dumpText, "CMD:  02 04 00 1B 23 3E 00\r\nRET:  06 41\r\n");
  EXPECT_TRUE(EndsWith(record.formattedReturn, Str(StrId::kCommandCancelled)));
  EXPECT_EQ(line_.calls.back(), "close");
  EXPECT_TRUE(ui_.Progress().at(0)->hidden);
  EXPECT_TRUE(ui_.WaitTexts().empty());
  EXPECT_TRUE(Logged());
}

TEST_F(ExecuteOverLine, CancelDuringAVariableReplyDrainsUnderAWaitWindow) {
  CommandRecord record = Command(-1);
  line_.Answer({0x06, 0x00, 0x00, 'A', 'B'});
  ui_.onProgressPump = [](ScriptedUi::ProgressRecord& progress) {
    return ProgressEvents{.escapePressed = progress.position == 4};
  };
  ASSERT_EQ(Run(record), kExecuteCancelled);
  EXPECT_TRUE(line_.script.empty());
  EXPECT_EQ(ui_.WaitTexts(), std::vector<std::string>{Str(StrId::kPleaseWait)});
}

TEST_F(ExecuteOverLine, ApplicationClosingEndsTheWait) {
  CommandRecord record = Command(-1);
  line_.Answer({0x06, 0x00, 0x00});
  ui_.onProgressPump = [](ScriptedUi::ProgressRecord&) {
    return ProgressEvents{.quitRequested = true};
  };
  EXPECT_EQ(Run(record), kExecuteCancelled);
  EXPECT_EQ(ui_.Progress().at(0)->pumps, 1);
}

TEST_F(ExecuteOverLine, ParameterErrorsReachNoPortAndNoLog) {
  CommandRecord record = Command(0);
  CommandParameter amount;
  amount.type = "FINANCE";
  amount.size = 2;
  amount.value = "123";
  record.AppendParameter(amount);
  EXPECT_EQ(Run(record), kExecuteWrongSize);
  EXPECT_TRUE(line_.createdNames.empty());
  EXPECT_FALSE(Logged());
  EXPECT_TRUE(EndsWith(record.formattedReturn, Str(StrId::kParameterWrongSize)));
}

TEST_F(ExecuteOverLine, ImpossibleReturnSizeIsRefused) {
  CommandRecord record = Command(0x7FFFFFFF);
  EXPECT_EQ(Run(record), kExecuteWrongSize);
  EXPECT_TRUE(line_.createdNames.empty());
}

TEST_F(ExecuteOverLine, PortThatDoesNotOpenEndsAsNoReply) {
  // A port that can tell why it did not open ends the command at once with
  // the reason; one that cannot is written to and waited for like any other.
  struct Case {
    int openResult;
    std::string openFailure;
    int result;
    std::vector<std::string> calls;
    int failedReads;
    std::string ending;
  };
  const std::string failed = Str(StrId::kSendFailed);
  const std::vector<Case> cases{
      {1, "", kExecuteOk, {"open 9600", "purge", "write", "close"}, 0, ""},
      {0, "", kExecuteNoReply, {"open 9600", "purge", "write"}, 42, failed},
      {0,
       "Permission denied",
       kExecuteNoReply,
       {"open 9600", "close"},
       0,
       failed + "\r\nPorta \"COM1:\": Permission denied"},
  };
  for (const Case& c : cases) {
    line_ = ScriptedLine{};
    line_.clock = &clock_;
    line_.openResult = c.openResult;
    line_.openFailure = c.openFailure;
    line_.onWrite = [](ScriptedLine& line, const std::vector<uint8_t>&) {
      line.Answer({0x06, 0x00, 0x00});
    };
    if (c.openResult == 0) line_.onWrite = nullptr;
    CommandRecord record = Command(0);
    EXPECT_EQ(Run(record), c.result) << c.openFailure;
    const std::vector<std::string> calls(
        line_.calls.begin(), line_.calls.begin() + std::min(line_.calls.size(), c.calls.size()));
    EXPECT_EQ(calls, c.calls) << c.openFailure;
    EXPECT_EQ(line_.failedReads, c.failedReads) << c.openFailure;
    EXPECT_TRUE(EndsWith(record.formattedReturn, c.ending)) << record.formattedReturn;
    EXPECT_TRUE(Logged());
  }
}

}  // namespace
}  // namespace taloven
