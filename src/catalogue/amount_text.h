#pragma once

#include <string>

namespace taloven {

// The amount box shows its digits with a decimal comma before the last
// `decimals` digits, rewritten as the user types.
struct AmountEdit {
  std::string text;
  int caret = 0;  // position in text
};

// Removes every comma and puts one before the last `decimals` digits when
// there are more than that, dropping leading zeros beyond the one before
// the comma; the caret keeps its place among the digits.
AmountEdit RewriteAmount(const std::string& text, int caret, int decimals);

// The text the amount box starts with: the preset with all its digits when
// it has between 1 and integerDigits + decimals characters, otherwise "0"
// repeated decimals + 1 times; either way shown with its comma.
std::string InitialAmountText(const std::string& preset, int integerDigits, int decimals);

// The amount's digits, comma removed.
std::string AmountDigits(const std::string& text);

}  // namespace taloven
