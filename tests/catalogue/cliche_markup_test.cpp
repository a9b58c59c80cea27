#include "catalogue/cliche_markup.h"

#include <gtest/gtest.h>

#include "link/parameter_encoding.h"

namespace taloven {
namespace {

TEST(ClicheMarkup, ReadingAndSendingUseTheSameTableBothWays) {
  struct Case {
    std::string escapes, tokens;
  } cases[] = {
      {"\x1B-\x01"
       "A\x1B-0",
       "CLICHE_SUB_INI_XMLACLICHE_SUB_END_XML"},
      {"\x1B"
       "4i\x1B"
       "5\x1B"
       "Ee\x1B"
       "F",
       "CLICHE_IT_INI_XMLiCLICHE_IT_END_XMLCLICHE_ENF_INI_XMLeCLICHE_ENF_END_XML"},
      {"\x1BW\x01X\x1BW\x02\r\n", "CLICHE_EXP_INI_XMLXCLICHE_EXP_END_XML\r\n"},
      // Only the printer's own codes count: ESC W 0 and ESC - 1 stay bytes.
      {"\x1BW0\x1B-1", "\x1BW0\x1B-1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClicheEscapesToTokens(c.escapes), c.tokens);
    EXPECT_EQ(ClicheTokensToEscapes(c.tokens), c.escapes);
    EXPECT_EQ(ReplaceClicheMarkup(c.tokens), c.escapes);
  }
}

}  // namespace
}  // namespace taloven
