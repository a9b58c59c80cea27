#pragma once

#include <optional>
#include <string>

#include "ui/ui.h"

namespace taloven {

// The stored forms of what the entry dialogs return. A dialog answers with
// what the user typed; these turn that into the text the parameter keeps.

// Pads a non-empty text on the right with blanks to `width`; an empty text
// stays empty, so that a missing value is still seen as missing.
std::string PadWithBlanks(const std::string& text, int width);
// Pads a non-empty text on the left with '0' to `width`.
std::string PadWithZeros(const std::string& text, int width);

std::string DayMonthYear2(const Date& date);  // "%02d%02d%02d", year modulo 100
std::string DayMonthYear4(const Date& date);  // "%02d%02d%04d"
std::string HoursMinutesSeconds(const TimeOfDay& time);

// Integer part padded on the left, decimal part on the right: four digits.
std::string PercentDigits(const PercentAnswer& answer);

// Cheque positions: the dialog keeps column and line of each printed item
// side by side; the printer wants the eight columns first, then the five
// lines.
std::string ChequeValue(const ChequeFields& fields);
// The dialog's fields from a stored 26-digit value; nothing for any other
// length.
std::optional<ChequeFields> ChequeFieldsOf(const std::string& value);

// An OPTIONS title reads "label 1(value 1) ou label 2(value 2)".
struct TwoOptions {
  std::string label1, value1, label2, value2;
};
std::optional<TwoOptions> ParseOptionsTitle(const std::string& title);

// A prompt without the '&' that marks a keyboard shortcut ("&&" is a '&').
std::string WithoutMnemonic(const std::string& text);

}  // namespace taloven
