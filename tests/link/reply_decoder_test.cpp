#include <gtest/gtest.h>

#include <filesystem>

#include "link/execute.h"
#include "link/reply_decoder.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

CommandRecord Command(int returnSize, const std::string& escape = "35") {
  CommandRecord record;
  record.SetTitle("Leitura");
  record.SetEscapeText(escape);
  record.SetReturnSize(returnSize);
  if (returnSize > 0) {
    ReturnField field;
    field.title = "Dados";
    field.type = "ASCII";
    field.size = returnSize;
    record.AppendReturnField(field);
  }
  return record;
}

struct DecodeCase {
  int returnSize;
  bool extended;
  std::vector<uint8_t> reply;
  int result;
};

class DecodeLikeExecute : public ::testing::TestWithParam<DecodeCase> {};

// Whatever the bytes, decoding leaves what executing with a printer that sent
// them leaves.
TEST_P(DecodeLikeExecute, SameTextsAsAnExchange) {
  const DecodeCase& c = GetParam();
  CommandRecord decoded = Command(c.returnSize);
  ASSERT_EQ(DecodeReply(decoded, c.reply, c.extended), c.result);
  if (c.result == kDecodeUnfinished) return;  // Execute would still wait

  testing::TestClock clock;
  testing::ScriptedUi ui(&clock);
  testing::ScriptedLine line;
  line.clock = &clock;
  line.Answer(c.reply);
  testing::ScriptedPortFactory ports(line);
  AppSettings settings;
  settings.portName = "COM1:";
  settings.extendedReturn = c.extended;
  settings.workingDirectory =
      std::filesystem::temp_directory_path() / ("taloven-decode-" + std::to_string(getpid()));
  ExecutionContext context{settings, ui, ports, clock};
  CommandRecord executed = Command(c.returnSize);
  EXPECT_EQ(Execute(executed, context), c.result);
  std::filesystem::remove_all(settings.workingDirectory);

  EXPECT_EQ(decoded.formattedReturn, executed.formattedReturn);
  EXPECT_EQ(decoded.replyBytes, executed.replyBytes);
  ASSERT_EQ(decoded.returnFields.size(), executed.returnFields.size());
  for (size_t i = 0; i < decoded.returnFields.size(); ++i)
    EXPECT_EQ(decoded.returnFields[i].value, executed.returnFields[i].value);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, DecodeLikeExecute,
    ::testing::Values(DecodeCase{2, false, {0x06, 'O', 'K', 0x00, 0x00}, kExecuteOk},
                      DecodeCase{2, false, {0x06, 'O', 'K', 0x80, 0x02, 0x77}, kExecuteOk},
                      DecodeCase{2, true, {0x06, 'O', 'K', 0x00, 0x00, 0x40, 0x00}, kExecuteOk},
                      DecodeCase{0, false, {0x15, 0x00, 0x00}, kExecuteOk},
                      DecodeCase{2, false, {0x06, 'O'}, kExecuteNoReply},
                      DecodeCase{-1, false, {0x06, 0x00, 0x00, 'A', '\n', 0x87, 0x03}, kExecuteOk},
                      DecodeCase{-1, true, {0x06, 0x00, 0x00, 0x40, 0x00, 0x03, 'x'}, kExecuteOk},
                      DecodeCase{-1, false, {0x06, 0x00}, kExecuteNoReply},
                      DecodeCase{-1, false, {0x06, 0x00, 0x00, 'A'}, kDecodeUnfinished}));

TEST(DecodeReply, ReadingModeOfCommandEightMakesTheReplyText) {
  CommandRecord record = Command(0, "8");
  CommandParameter mode;
  mode.type = "NOT_EDITABLE";
  mode.size = 13;
  mode.value = "000000000000R";
  record.AppendParameter(mode);
  EXPECT_EQ(DecodeReply(record, {0x06, 0x00, 0x00, 'T', 0x03}, false), kExecuteOk);
  EXPECT_EQ(record.formattedReturn, "COMANDO OK\r\nT");
}

TEST(DecodeReply, ImpossibleReturnSizeIsRefused) {
  CommandRecord record = Command(0);
  record.SetReturnSize(0x7FFFFFFF);
  EXPECT_EQ(DecodeReply(record, {0x06}, false), kExecuteWrongSize);
}

}  // namespace
}  // namespace taloven
