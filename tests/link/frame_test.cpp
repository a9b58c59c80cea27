#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/encoding.h"
#include "catalogue/command_record.h"
#include "link/execute.h"
#include "link/frame_buffer.h"
#include "link/frame_builder.h"
#include "resources/strings.h"
#include "support/record_builders.h"

namespace taloven {
namespace {

CommandRecord Command(const std::string& escape,
                      const std::vector<CommandParameter>& parameters = {}) {
  return testing::MakeCommand("Teste", escape, parameters);
}

CommandParameter Parameter(const std::string& type, int size, bool mandatory,
                           const std::string& value) {
  return testing::MakeParameter(type, size, "P", mandatory, value);
}

std::vector<uint8_t> FrameOf(const CommandRecord& record) {
  return record.frame;
}

// The parameter bytes of a frame with a one-byte command.
std::string ParameterBytes(const CommandRecord& record) {
  const auto bytes = FrameOf(record);
  return std::string(bytes.begin() + 5, bytes.end() - 2);
}

TEST(CommandFrame, ShortCommandWithoutParametersIsByteExact) {
  CommandRecord record = Command("35");
  ASSERT_EQ(BuildCommandFrame(record, false), 0);
  EXPECT_EQ(FrameOf(record), (std::vector<uint8_t>{0x02, 0x04, 0x00, 0x1B, 0x23, 0x3E, 0x00}));
  EXPECT_EQ(record.replyLength, 3);

  ASSERT_EQ(BuildCommandFrame(record, true), 0);
  EXPECT_EQ(FrameOf(record), (std::vector<uint8_t>{0x02, 0x04, 0x00, 0x1C, 0x23, 0x3F, 0x00}));
  EXPECT_EQ(record.replyLength, 5);
}

TEST(CommandFrame, LengthAndChecksumCoverCommandAndParameters) {
  CommandRecord record = Command("35 60", {Parameter("STRING", 3, true, W("É1"))});
  ASSERT_EQ(BuildCommandFrame(record, false), 0);
  // É is 0x90 in the printer's code page.
  const std::vector<uint8_t> body{0x1B, 35, 60, 0x90, '1', ' '};
  unsigned sum = 0;
  for (uint8_t b : body) sum += b;
  std::vector<uint8_t> expected{0x02, 8, 0};
  expected.insert(expected.end(), body.begin(), body.end());
  expected.push_back(sum & 0xFF);
  expected.push_back(sum >> 8);
  EXPECT_EQ(FrameOf(record), expected);
}

TEST(CommandFrame, ChecksumCarriesIntoItsHighByte) {
  CommandRecord record = Command("255", {Parameter("DIG_HEX", 4, true, "FFFFFFFF")});
  ASSERT_EQ(BuildCommandFrame(record, false), 0);
  const auto frame = FrameOf(record);
  const unsigned sum = 0x1B + 5 * 0xFF;
  EXPECT_EQ(frame[frame.size() - 2], sum & 0xFF);
  EXPECT_EQ(frame[frame.size() - 1], sum >> 8);
}

struct EncodingCase {
  std::string type;
  int size;
  bool mandatory;
  std::string value;
  int result;
  std::string bytes;       // the parameter's bytes in the frame
  std::string normalised;  // the value left in the record ("" = unchanged)
};

class ParameterEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(ParameterEncoding, AddsTheBytesOfItsType) {
  const EncodingCase& c = GetParam();
  CommandRecord record = Command("35", {Parameter(c.type, c.size, c.mandatory, c.value)});
  const int result = BuildCommandFrame(record, false);
  ASSERT_EQ(result, c.result) << c.type << " '" << c.value << "'";
  if (result == 0) {
    EXPECT_EQ(ParameterBytes(record), c.bytes) << c.type << " '" << c.value << "'";
    EXPECT_EQ(record.parameters[0].value, c.normalised.empty() ? c.value : c.normalised);
  } else {
    EXPECT_NE(record.formattedReturn.find(
                  Str(result == -2 ? StrId::kMandatoryParameterEmpty : StrId::kParameterWrongSize)),
              std::string::npos);
  }
}

using namespace std::string_literals;
constexpr int kOk = 0, kEmpty = -2, kSize = -3;

INSTANTIATE_TEST_SUITE_P(
    EveryType, ParameterEncoding,
    ::testing::Values(
        // Fixed texts: a missing mandatory one is sent as blanks.
        EncodingCase{"NOT_EDITABLE", 3, true, "ABC", kOk, "ABC", ""},
        EncodingCase{"NOT_EDITABLE", 3, true, "", kOk, "   ", ""},
        EncodingCase{"NOT_EDITABLE", 3, true, "AB", kOk, "   ", ""},
        EncodingCase{"NOT_EDITABLE", 3, false, "AB", kOk, "", ""},
        EncodingCase{"BINARIO", 1, true, "300", kOk, "\x2C", ""},
        EncodingCase{"BINARIO", 1, true, "7x", kOk, "\x07", ""},
        EncodingCase{"BINARIO", 1, false, "", kOk, "", ""},
        // Amounts lose their comma and gain leading zeros.
        EncodingCase{"FINANCE", 14, true, "12,34", kOk, "00000000001234", "00000000001234"},
        EncodingCase{"FINANCE", 14, true, "123456789012345", kSize, "", ""},
        EncodingCase{"FINANCE", 14, false, "123456789012345", kOk, "", "123456789012345"},
        EncodingCase{"FINANCE", 14, true, "", kEmpty, "", ""},
        EncodingCase{"FINANCE", 14, false, "", kOk, "", ""},
        EncodingCase{"PERCENTAGE", 4, true, "1,5", kOk, "0015", "0015"},
        EncodingCase{"FINANCE_3", 5, true, "1,234", kOk, "01234", "01234"},
        EncodingCase{"INTEGER", 4, true, "7", kOk, "0007", "0007"},
        EncodingCase{"INTEGER", 2, true, "123", kSize, "", ""},
        EncodingCase{"BCD_INTEGER", 1, true, "9", kOk, "\x09", ""},
        EncodingCase{"BCD_INTEGER", 2, true, "12", kOk, "\x0C\x00"s, ""},
        EncodingCase{"BCD_INTEGER", 3, true, "5", kOk, "\x05\x00\x00"s, "005"},
        EncodingCase{"BCD_INTEGER", 2, true, "123", kSize, "", ""},
        EncodingCase{"BCD_INTEGER", 2, false, "123", kOk, "", ""},
        // Fixed-size texts are padded with blanks.
        EncodingCase{"STRING", 10, true, "ABC", kOk, "ABC       ", ""},
        EncodingCase{"STRING", 10, false, "", kOk, "", ""},
        EncodingCase{"STRING", 10, true, "", kEmpty, "", ""},
        EncodingCase{"STRING", 2, true, "ABC", kSize, "", ""},
        EncodingCase{"STRING", 2, false, "ABC", kOk, "", ""},
        EncodingCase{"STRING", 2, true, "\xE7\xE3", kOk, "\x87\xC6", ""},
        EncodingCase{"BIG_STRING", 5, true, "A\r\nB", kOk, "A\nB  ", ""},
        // Variable texts end with a line feed.
        EncodingCase{"STRING_VAR_SIZE", 40, true, "ABCDEF\r\nGHIJKL", kOk, "ABCDEF\nGHIJKL\n", ""},
        EncodingCase{"STRING_VAR_SIZE", 13, true, "ABCDEF\r\nGHIJKL", kOk, "ABCDEF\nGHIJK\n", ""},
        EncodingCase{"BIG_STRING_VAR_SIZE", 2, true, "A\r\n", kOk, "A\n", ""},
        EncodingCase{"CLICHE", 80, true,
                     "CLICHE_SUB_INI_XMLaCLICHE_SUB_END_XMLCLICHE_IT_INI_XMLbCLICHE_IT_END_XML"
                     "CLICHE_ENF_INI_XMLcCLICHE_ENF_END_XMLCLICHE_EXP_INI_XMLdCLICHE_EXP_END_XML",
                     kOk,
                     "\x1B-\x01"
                     "a\x1B-0\x1B"
                     "4b\x1B"
                     "5\x1B"
                     "Ec\x1B"
                     "F\x1BW\x01"
                     "d\x1BW\x02\n",
                     ""},
        EncodingCase{"DISCOUNT", 2, true, "12345", kOk, "12345", ""},
        EncodingCase{"LEIT_DADOS_MEM_FISCAL", 2, true, "\xC7", kOk, "\x80", ""},
        EncodingCase{"BILHETE_PASSAGEM", 1, true, "AB\r\n", kOk, "AB\r\n", ""},
        // Dates and times lose their separators.
        EncodingCase{"DATA", 6, true, "07/12/06", kOk, "071206", "071206"},
        EncodingCase{"DATA", 6, true, "07/12/2006", kSize, "", ""},
        EncodingCase{"DATA_2_2_4", 8, true, "07/12/2006", kOk, "07122006", "07122006"},
        EncodingCase{"HORA", 6, true, "10/20/30", kOk, "102030", "102030"},
        EncodingCase{"HORA", 6, true, "10:20:30", kSize, "", ""},
        EncodingCase{"HORA", 6, false, "10:20:30", kOk, "", ""},
        // Texts up to their size.
        EncodingCase{"AC_OU_DESC_ITEM", 5, true, "D123", kOk, "D123", ""},
        EncodingCase{"AC_OU_DESC_SUB", 3, true, "D123", kSize, "", ""},
        EncodingCase{"DESCR_FORMA_PAGAMENTO", 8, true, W("Cartão"), kOk, "Cart\xC6o", ""},
        EncodingCase{"IMPR_FITA_DETALHE", 2, true, W("ã"), kOk, "\xE3", ""},
        EncodingCase{"LEIT_MEM_FISCAL", 1, false, "12", kOk, "", ""},
        EncodingCase{"FECHA_CUPOM", 10, true, "obrigado", kOk, "obrigado", ""},
        // Pairs of digits.
        EncodingCase{"CHEQUE_POS", 3, true, "010255", kOk, "\x01\x02\x37", ""},
        EncodingCase{"CHEQUE_POS", 3, true, "0102", kSize, "", ""},
        EncodingCase{"DIG_HEX", 2, true, "0A1F", kOk, "\x0A\x1F", ""},
        EncodingCase{"DIG_HEX", 2, true, "0a1f", kOk, "\x0A\x1F", ""},
        EncodingCase{"DIG_HEX", 2, true, "0A1", kSize, "", ""},
        EncodingCase{"DIG_HEX", 2, true, "0G1F", kSize, "", ""},
        EncodingCase{"DIG_HEX", 2, false, "0A1", kOk, "", ""},
        EncodingCase{"DIG_HEX_NOT_EDITABLE", 1, true, "", kEmpty, "", ""},
        EncodingCase{"CAR_GRAF_AUTENTICACAO", 1, true, "80", kOk, "\x80", ""},
        EncodingCase{"TROCA_SIT_TRIB", 4, true, "07ABCD", kOk,
                     "\x07"
                     "07ABCD",
                     ""},
        EncodingCase{"TROCA_SIT_TRIB", 3, true, "07ABCD", kSize, "", ""},
        EncodingCase{"TROCA_SIT_TRIB", 80, true, "12" + std::string(64, 'S'), kOk,
                     "\x0C" + std::string(64, 'S'), ""},
        EncodingCase{"CUPOM_OU_BILHETE_CONV_156", 1, true, "B", kOk, "\xFF", ""},
        EncodingCase{"CUPOM_OU_BILHETE_CONV_156", 1, true, "b", kOk, "\xFF", ""},
        EncodingCase{"CUPOM_OU_BILHETE_CONV_156", 1, true, "c", kOk, "\x00"s, ""},
        EncodingCase{"VINC_ISS", 2, true, "01", kOk, "01", ""},
        EncodingCase{"OPTIONS", 2, true, "1", kSize, "", ""},
        EncodingCase{"NO_SUCH_TYPE", 2, true, "12", kOk, "", ""}));

TEST(CommandFrame, FirstFailingParameterDecides) {
  CommandRecord record =
      Command("35", {Parameter("FINANCE", 2, false, "123"), Parameter("STRING", 2, true, ""),
                     Parameter("FINANCE", 2, true, "123")});
  EXPECT_EQ(BuildCommandFrame(record, false), kExecuteMandatoryEmpty);
  EXPECT_EQ(record.frame.size(), 0u);
}

TEST(CommandFrame, ParametersBeyondTheFrameAreRefused) {
  CommandRecord fits = Command("35", {Parameter("STRING", 4089, true, "x")});
  ASSERT_EQ(BuildCommandFrame(fits, false), 0);
  EXPECT_EQ(fits.frame.size(), 4096u);

  CommandRecord record = Command("35", {Parameter("STRING", 4090, true, "x")});
  EXPECT_EQ(BuildCommandFrame(record, false), kExecuteWrongSize);
  EXPECT_NE(record.formattedReturn.find("4096"), std::string::npos);
  EXPECT_EQ(record.frame.size(), 0u);

  CommandRecord many = Command("35");
  for (int i = 0; i < 5; ++i) many.AppendParameter(Parameter("STRING", 1000, true, "x"));
  EXPECT_EQ(BuildCommandFrame(many, false), kExecuteWrongSize);

  CommandRecord huge = Command("35", {Parameter("BCD_INTEGER", 1 << 30, true, "1")});
  EXPECT_EQ(BuildCommandFrame(huge, false), kExecuteWrongSize);
}

TEST(CommandFrame, CommandCodeTooLongForTheRecordIsNotSent) {
  CommandRecord record = Command("1 2 3 4 5 6 7 8 9 10 11 12 13");
  ASSERT_TRUE(record.escapeTooLong);
  EXPECT_EQ(BuildCommandFrame(record, false), kExecuteWrongSize);
  EXPECT_EQ(record.frame.size(), 0u);
  EXPECT_FALSE(record.formattedReturn.empty());
}

TEST(CommandFrame, VariableLengthReplies) {
  CommandRecord fixed = Command("35");
  fixed.SetReturnSize(10);
  ASSERT_EQ(BuildCommandFrame(fixed, false), 0);
  EXPECT_FALSE(IsVariableLengthReply(fixed));

  CommandRecord open = Command("35");
  open.SetReturnSize(-1);
  ASSERT_EQ(BuildCommandFrame(open, false), 0);
  EXPECT_TRUE(IsVariableLengthReply(open));

  // Command 8 reads its data back as text when its 13th parameter byte asks
  // for it.
  for (char mode : {'R', 'r', 'I'}) {
    CommandRecord reading =
        Command("8", {Parameter("NOT_EDITABLE", 13, true, std::string(12, '0') + mode)});
    reading.SetReturnSize(0);
    ASSERT_EQ(BuildCommandFrame(reading, false), 0);
    EXPECT_EQ(IsVariableLengthReply(reading), mode != 'I') << mode;
  }
  CommandRecord shortReading = Command("8");
  ASSERT_EQ(BuildCommandFrame(shortReading, false), 0);
  EXPECT_FALSE(IsVariableLengthReply(shortReading));
}

TEST(FrameBuffer, SealWritesLengthAndChecksum) {
  FrameBuffer frame;
  frame.length = 3;
  ASSERT_TRUE(frame.AppendByte(0x1B));
  ASSERT_TRUE(frame.AppendByte(0x23));
  ASSERT_TRUE(frame.Seal());
  EXPECT_EQ(frame.Bytes(), (std::vector<uint8_t>{0x02, 0x04, 0x00, 0x1B, 0x23, 0x3E, 0x00}));
}

TEST(FrameBuffer, RefusesWhatWouldNotFit) {
  FrameBuffer frame;
  frame.length = 3;
  std::vector<uint8_t> big(FrameBuffer::kCapacity - 4, 0xFF);
  ASSERT_TRUE(frame.Append(big.data(), big.size()));
  EXPECT_FALSE(frame.Seal());  // one byte short for the checksum
  EXPECT_EQ(frame.length, FrameBuffer::kCapacity - 1);
  EXPECT_TRUE(frame.AppendByte(1));
  EXPECT_FALSE(frame.AppendByte(1));
  EXPECT_EQ(frame.length, FrameBuffer::kCapacity);
}

}  // namespace
}  // namespace taloven
