#include "base/printer_charset.h"
#include "replies/return_rules.h"
#include "resources/strings.h"

namespace taloven {

std::string BcdDigits(const FieldBytes& d, size_t from, size_t count) {
  std::string digits;
  digits.reserve(2 * count);
  for (size_t i = from; i < from + count; ++i) {
    digits += static_cast<char>('0' + (d[i] >> 4));
    digits += static_cast<char>('0' + (d[i] & 0x0F));
  }
  return digits;
}

std::string MoneyText(const FieldBytes& d, size_t from, size_t count) {
  if (count == 0) return "";
  return BcdDigits(d, from, count - 1) + "," + BcdDigits(d, from + count - 1, 1);
}

std::string PrinterText(const FieldBytes& d, size_t from, size_t count) {
  std::string text;
  for (size_t i = from; i < from + count; ++i) {
    const uint8_t byte = d[i];
    if (byte == 0) break;
    if (byte == '\n')
      text += "\r\n";
    else
      text += static_cast<char>(byte);
  }
  PrinterTextToWindows(text);
  return text;
}

const std::string& YesNo(bool yes) {
  return Str(yes ? StrId::kYes : StrId::kNo);
}

}  // namespace taloven
