#include "catalogue/amount_text.h"

#include <gtest/gtest.h>

namespace taloven {
namespace {

TEST(RewriteAmount, CommaBeforeTheDecimalsAndCaretKept) {
  const struct {
    const char* text;
    int caret, decimals;
    const char* expected;
    int expectedCaret;
  } cases[] = {
      {"0,001", 5, 2, "0,01", 4},  // a digit typed at the end moves the comma
      {"1,2345", 6, 2, "123,45", 6},
      {"12", 2, 2, "12", 2},         // not more digits than decimals: no
                                     // comma
      {"1,23", 1, 2, "1,23", 1},     // unchanged text keeps its caret
      {"9,12,3", 3, 2, "91,23", 2},  // caret after the 1 stays after the 1
      {"12,3", 2, 2, "1,23", 3},     // a deleted digit pulls the comma left
      {"1234", 2, 2, "12,34", 2},    // caret right at the new comma stays before it
      {"1234", 4, 2, "12,34", 5},
      {"00,05", 1, 2, "0,05", 0},  // extra leading zeros go, the
                                   // caret with them
      {"0,050", 5, 2, "0,50", 4},
      {"", 0, 2, "", 0},
      {"1234", 2, 0, "1234", 2},
  };
  for (const auto& c : cases) {
    AmountEdit edit = RewriteAmount(c.text, c.caret, c.decimals);
    EXPECT_EQ(edit.text, c.expected) << c.text;
    EXPECT_EQ(edit.caret, c.expectedCaret) << c.text;
  }
}

TEST(InitialAmountText, ThePresetWithAllItsDigitsWhenItFits) {
  const struct {
    const char* preset;
    int integerDigits, decimals;
    const char* shown;
  } cases[] = {
      {"", 8, 2, "0,00"},
      {"1234", 8, 2, "12,34"},
      {"12345678901", 8, 2, "0,00"},  // too long for the box
      {"5", 7, 3, "5"},
      {"", 7, 3, "0,000"},
      {"0001000", 4, 3, "0001,000"},  // leading zeros are the preset's own
      {"0001000", 7, 2, "00010,00"},
      {"0000000000", 8, 2, "00000000,00"},
  };
  for (const auto& c : cases) {
    const std::string shown = InitialAmountText(c.preset, c.integerDigits, c.decimals);
    EXPECT_EQ(shown, c.shown) << c.preset;
  }
  EXPECT_EQ(AmountDigits("0001,000"), "0001000");
}

}  // namespace
}  // namespace taloven
