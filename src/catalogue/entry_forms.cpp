#include "catalogue/entry_forms.h"

#include <cstdio>

namespace taloven {

std::string PadWithBlanks(const std::string& text, int width) {
  std::string padded = text;
  if (!padded.empty() && static_cast<int>(padded.size()) < width)
    padded.append(static_cast<size_t>(width) - padded.size(), ' ');
  return padded;
}

std::string PadWithZeros(const std::string& text, int width) {
  if (text.empty() || static_cast<int>(text.size()) >= width) return text;
  return std::string(static_cast<size_t>(width) - text.size(), '0') + text;
}

namespace {

std::string TwoDigitsEach(int a, int b, int c, const char* format) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

}  // namespace

std::string DayMonthYear2(const Date& date) {
  return TwoDigitsEach(date.day, date.month, date.year % 100, "%02d%02d%02d");
}

std::string DayMonthYear4(const Date& date) {
  return TwoDigitsEach(date.day, date.month, date.year, "%02d%02d%04d");
}

std::string HoursMinutesSeconds(const TimeOfDay& time) {
  return TwoDigitsEach(time.hour, time.minute, time.second, "%02d%02d%02d");
}

std::string PercentDigits(const PercentAnswer& answer) {
  std::string integer = answer.integerPart.substr(0, 2);
  std::string decimal = answer.decimalPart.substr(0, 2);
  integer.insert(0, 2 - integer.size(), '0');
  decimal.append(2 - decimal.size(), '0');
  return integer + decimal;
}

namespace {

// Where each of the 13 stored pairs sits among the dialog's fields.
constexpr int kStoredFromField[13] = {0, 2, 4, 6, 8, 10, 11, 12, 1, 3, 5, 7, 9};

}  // namespace

std::string ChequeValue(const ChequeFields& fields) {
  std::string value;
  for (int field : kStoredFromField) {
    std::string digits = fields[static_cast<size_t>(field)].substr(0, 2);
    value += std::string(2 - digits.size(), '0') + digits;
  }
  return value;
}

std::optional<ChequeFields> ChequeFieldsOf(const std::string& value) {
  if (value.size() != 26) return std::nullopt;
  ChequeFields fields;
  for (size_t i = 0; i < 13; ++i)
    fields[static_cast<size_t>(kStoredFromField[i])] = value.substr(2 * i, 2);
  return fields;
}

std::optional<TwoOptions> ParseOptionsTitle(const std::string& title) {
  size_t open1 = title.find('(');
  if (open1 == std::string::npos) return std::nullopt;
  size_t close1 = title.find(')', open1);
  if (close1 == std::string::npos) return std::nullopt;
  size_t ou = title.find("ou", close1);
  if (ou == std::string::npos) return std::nullopt;
  size_t open2 = title.find('(', ou + 2);
  if (open2 == std::string::npos) return std::nullopt;
  size_t close2 = title.find(')', open2);
  if (close2 == std::string::npos) return std::nullopt;
  return TwoOptions{title.substr(0, open1), title.substr(open1 + 1, close1 - open1 - 1),
                    title.substr(ou + 2, open2 - ou - 2),
                    title.substr(open2 + 1, close2 - open2 - 1)};
}

std::string WithoutMnemonic(const std::string& text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    plain += text[i];
  }
  return plain;
}

}  // namespace taloven
