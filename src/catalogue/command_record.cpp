#include "catalogue/command_record.h"

#include <climits>

namespace taloven {

int32_t ReadLeadingNumber(std::string_view text) {
  size_t i = 0;
  auto is_space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int64_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<int64_t>(INT32_MAX) + 1) value = static_cast<int64_t>(INT32_MAX) + 1;
    ++i;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  return static_cast<int32_t>(value);
}

void CommandRecord::SetEscapeText(std::string text) {
  escapeText = std::move(text);
  escapeLength = 0;
  escapeBytes.fill(0);
  escapeTooLong = false;
  std::string_view rest = escapeText;
  while (true) {
    size_t blank = rest.find(' ');
    std::string_view piece = rest.substr(0, blank);
    if (escapeLength < kMaxEscapeBytes) {
      escapeBytes[escapeLength++] = static_cast<uint8_t>(ReadLeadingNumber(piece) & 0xFF);
    } else {
      escapeTooLong = true;
    }
    if (blank == std::string_view::npos) break;
    rest.remove_prefix(blank + 1);
  }
}

void CommandRecord::AppendParameter(CommandParameter parameter) {
  parameters.push_back(std::move(parameter));
  parameterCount = static_cast<int32_t>(parameters.size());
}

void CommandRecord::AppendReturnField(ReturnField field) {
  returnFields.push_back(std::move(field));
  returnFieldCount = static_cast<int32_t>(returnFields.size());
}

}  // namespace taloven
