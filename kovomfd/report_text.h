#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kovo {

// Texts of the reports: Windows-1252, CR LF line ends.
class ReportText {
 public:
  void Line(std::string_view cp1252 = {});
  // A label with its value at the right edge of a 48-column line.
  void Row(std::string_view label, std::string_view value);
  // Printer lines (code page 850, LF ends) as the report shows them.
  void PrinterLines(std::string_view cp850);
  std::string& Bytes() { return text_; }

 private:
  std::string text_;
};

// Amounts in cents. A period's totals add up many 64-bit amounts, so they
// are held wider.
using Cents = __int128;

// "1.234,56"
std::string Money(Cents cents);
// "DD/MM/YYYY" and "DD/MM/YYYY hh:mm:ss" of a "DDMMYYYYhhmmss" text.
std::string DateText(std::string_view when);
std::string DateTimeText(std::string_view when);

// Source texts are UTF-8; reports are Windows-1252.
std::string W(std::string_view utf8);

}  // namespace kovo
