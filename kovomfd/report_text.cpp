#include "report_text.h"

#include <array>

#include "base/encoding.h"
#include "base/printer_charset.h"

namespace kovo {
namespace {

constexpr size_t kWidth = 48;

// Code page 850 to Windows-1252, one table lookup a byte: journals run to
// hundreds of megabytes.
std::array<char, 256> MakeTable() {
  std::array<char, 256> table{};
  for (int b = 0; b < 256; ++b) {
    std::string one(1, static_cast<char>(b));
    if (b != 0) taloven::PrinterTextToWindows(one);
    table[static_cast<size_t>(b)] = one.empty() ? '\0' : one[0];
  }
  return table;
}

}  // namespace

std::string W(std::string_view utf8) {
  return taloven::Utf8ToCp1252(utf8);
}

void ReportText::Line(std::string_view cp1252) {
  text_ += cp1252;
  text_ += "\r\n";
}

void ReportText::Row(std::string_view label, std::string_view value) {
  std::string line(label);
  const size_t used = line.size() + value.size();
  line.append(used < kWidth ? kWidth - used : 1, ' ');
  line += value;
  Line(line);
}

void ReportText::PrinterLines(std::string_view cp850) {
  static const std::array<char, 256> table = MakeTable();
  const size_t start = text_.size();
  text_.resize(start + cp850.size() + cp850.size() / 16 + 2);
  char* out = text_.data() + start;
  char* limit = text_.data() + text_.size() - 2;
  for (char c : cp850) {
    if (out >= limit) {
      const size_t at = static_cast<size_t>(out - text_.data());
      text_.resize(text_.size() * 2);
      out = text_.data() + at;
      limit = text_.data() + text_.size() - 2;
    }
    if (c == '\n') {
      *out++ = '\r';
      *out++ = '\n';
    } else {
      *out++ = table[static_cast<uint8_t>(c)];
    }
  }
  text_.resize(static_cast<size_t>(out - text_.data()));
}

std::string Money(Cents cents) {
  const bool negative = cents < 0;
  // Negated as unsigned: the most negative amount has no positive twin.
  unsigned __int128 value =
      negative ? 0 - static_cast<unsigned __int128>(cents) : static_cast<unsigned __int128>(cents);
  const unsigned fraction = static_cast<unsigned>(value % 100);
  value /= 100;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
    value /= 10;
  } while (value != 0);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += '.';
    grouped += digits[i];
  }
  return (negative ? "-" : "") + grouped + ',' + static_cast<char>('0' + fraction / 10) +
         static_cast<char>('0' + fraction % 10);
}

std::string DateText(std::string_view when) {
  if (when.size() < 8) return std::string(when);
  return std::string(when.substr(0, 2)) + "/" + std::string(when.substr(2, 2)) + "/" +
         std::string(when.substr(4, 4));
}

std::string DateTimeText(std::string_view when) {
  if (when.size() < 14) return DateText(when);
  return DateText(when) + " " + std::string(when.substr(8, 2)) + ":" +
         std::string(when.substr(10, 2)) + ":" + std::string(when.substr(12, 2));
}

}  // namespace kovo
