#include "catalogue/amount_text.h"

#include <algorithm>

namespace taloven {

AmountEdit RewriteAmount(const std::string& text, int caret, int decimals) {
  std::string digits;
  int digitsBeforeCaret = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ',') continue;
    if (static_cast<int>(i) < caret) ++digitsBeforeCaret;
    digits += text[i];
  }
  // Leading zeros beyond the one before the comma would eat the room the
  // box has for digits.
  size_t zeros = 0;
  while (zeros < digits.size() && digits[zeros] == '0' &&
         static_cast<int>(digits.size() - zeros) > decimals + 1)
    ++zeros;
  digits.erase(0, zeros);
  digitsBeforeCaret = std::max(digitsBeforeCaret - static_cast<int>(zeros), 0);
  AmountEdit edit{digits, digitsBeforeCaret};
  int count = static_cast<int>(digits.size());
  if (decimals > 0 && count > decimals) {
    int commaAt = count - decimals;
    edit.text.insert(static_cast<size_t>(commaAt), 1, ',');
    // A caret right at the comma stays before it, as it was before the digit.
    if (digitsBeforeCaret > commaAt) ++edit.caret;
  }
  return edit;
}

std::string InitialAmountText(const std::string& preset, int integerDigits, int decimals) {
  int length = static_cast<int>(preset.size());
  std::string text = length >= 1 && length <= integerDigits + decimals
                         ? AmountDigits(preset)
                         : std::string(static_cast<size_t>(decimals) + 1, '0');
  // Every digit of the preset shows, its leading zeros too: they are what
  // the command sends unless the user changes them.
  if (decimals > 0 && static_cast<int>(text.size()) > decimals)
    text.insert(text.size() - static_cast<size_t>(decimals), 1, ',');
  return text;
}

std::string AmountDigits(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (c != ',') digits += c;
  return digits;
}

}  // namespace taloven
