#include <gtest/gtest.h>

#include <string>

#include "base/encoding.h"
#include "link/parameter_decoding.h"
#include "link/parameter_encoding.h"
#include "support/record_builders.h"

namespace taloven {
namespace {

struct DecodingCase {
  const char* type;
  int size;
  std::string bytes;  // as the frame carries them, written by hand
  std::string typed;  // what a user would have typed
  int encodedSize;    // -1: depends on the value
};

// Every typed text, encoded again, must give the very bytes of the frame.
TEST(ParameterDecoding, GivesBackTheTextThatEncodesToTheBytes) {
  const DecodingCase cases[] = {
      {"FINANCE", 14, "00000000001234", "12,34", 14},
      {"FINANCE", 8, "00000005", "0,05", 8},
      {"FINANCE_3", 7, "0001000", "1,000", 7},
      {"PERCENTAGE", 4, "1800", "18,00", 4},
      {"INTEGER", 2, "01", "01", 2},
      {"BCD_INTEGER", 2, std::string("\x0C\x00", 2), "12", 2},
      {"BINARIO", 1, "\x07", "7", 1},
      {"STRING", 8, "Caf\x82 t  ", W("Café t"), 8},
      {"STRING_VAR_SIZE", 29, "12345678909\n", "12345678909", -1},
      {"BIG_STRING_VAR_SIZE", 320, "linha 1\nlinha 2\n", "linha 1\r\nlinha 2", -1},
      {"DATA", 6, "311226", "31/12/26", 6},
      {"DATA_2_2_4", 8, "31122026", "31/12/2026", 8},
      {"HORA", 6, "235959", "235959", 6},
      {"DIG_HEX", 3, "\x01\xAB\xFF", "01ABFF", 3},
      {"DIG_HEX_NOT_EDITABLE", 1, "\x02", "02", 1},
      {"CHEQUE_POS", 3, "\x01\x02\x0D", "010213", 3},
      {"NOT_EDITABLE", 3, "200", "200", 3},
      {"CUPOM_OU_BILHETE_CONV_156", 1, "\xFF", "B", 1},
      {"OPTIONS", 1, "T", "T", 1},
      {"AC_OU_DESC_ITEM", 12, "D0000000100", "D0000000100", -1},
  };
  for (const DecodingCase& c : cases) {
    SCOPED_TRACE(c.type);
    CommandParameter parameter = testing::MakeParameter(c.type, c.size, "P", true, "");
    EXPECT_EQ(EncodedParameterSize(parameter), c.encodedSize);
    const std::string typed = DecodeParameter(parameter, c.bytes);
    EXPECT_EQ(typed, c.typed);
    parameter.value = typed;
    std::string again;
    ASSERT_EQ(EncodeParameter(parameter, again), EncodeOutcome::Added);
    EXPECT_EQ(again, c.bytes);
  }
}

}  // namespace
}  // namespace taloven
