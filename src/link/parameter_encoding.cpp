#include "link/parameter_encoding.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "base/printer_charset.h"
#include "catalogue/cliche_markup.h"
#include "catalogue/parameter_type.h"
#include "link/frame_buffer.h"

namespace taloven {
namespace {

bool IsOneOf(ParameterType type, std::initializer_list<ParameterType> types) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

void RemoveAll(std::string& text, char c) {
  text.erase(std::remove(text.begin(), text.end(), c), text.end());
}

// Builds the result beside the text rather than shifting the rest of it at
// every match.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  std::string replaced;
  replaced.reserve(text.size());
  size_t start = 0;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
    replaced.append(text, start, at - start).append(to);
    start = at + from.size();
  }
  replaced.append(text, start);
  text = std::move(replaced);
}

bool Fits(int32_t size) {
  return size <= static_cast<int32_t>(FrameBuffer::kCapacity);
}

// The leading digits of a text as a number; no digits read as 0.
uint32_t LeadingDigits(std::string_view text) {
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + static_cast<uint32_t>(c - '0');
    if (value > 0xFFFFFF) value &= 0xFFFFFF;  // only the low byte is ever kept
  }
  return value;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Each pair of characters gives one byte.
EncodeOutcome EncodePairs(const std::string& value, int32_t size, bool hex, std::string& bytes) {
  if (!Fits(size) || static_cast<int64_t>(value.size()) != 2 * static_cast<int64_t>(size)) {
    return Fits(size) ? EncodeOutcome::WrongSize : EncodeOutcome::TooLong;
  }
  std::string encoded;
  for (int32_t i = 0; i < size; ++i) {
    const std::string_view pair(value.data() + 2 * i, 2);
    if (hex) {
      const int high = HexDigit(pair[0]), low = HexDigit(pair[1]);
      if (high < 0 || low < 0) return EncodeOutcome::WrongSize;
      encoded += static_cast<char>(high * 16 + low);
    } else {
      encoded += static_cast<char>(LeadingDigits(pair) & 0xFF);
    }
  }
  bytes += encoded;
  return EncodeOutcome::Added;
}

EncodeOutcome PadWithZeros(std::string& value, int32_t size) {
  if (!Fits(size)) return EncodeOutcome::TooLong;
  if (static_cast<int32_t>(value.size()) < size) value.insert(0, size - value.size(), '0');
  return static_cast<int32_t>(value.size()) == size ? EncodeOutcome::Added
                                                    : EncodeOutcome::WrongSize;
}

EncodeOutcome AddExactly(const std::string& value, int32_t size, std::string& bytes) {
  if (static_cast<int64_t>(value.size()) != size) return EncodeOutcome::WrongSize;
  bytes += value;
  return EncodeOutcome::Added;
}

// Texts that end with a line feed, at whatever length they have.
void EndWithLineFeed(std::string& value, int32_t size) {
  ReplaceAll(value, "\r\n", "\n");
  if (value.empty()) return;
  if (static_cast<int64_t>(value.size()) < size) {
    value += '\n';
  } else {
    value.back() = '\n';
  }
}

}  // namespace

std::string ReplaceClicheMarkup(std::string value) {
  return ClicheTokensToEscapes(std::move(value));
}

EncodeOutcome EncodeParameter(CommandParameter& parameter, std::string& bytes) {
  const ParameterType type = TypeOf(parameter);
  const int32_t size = parameter.size;
  std::string& value = parameter.value;

  if (type == ParameterType::kNotEditable) {
    if (static_cast<int64_t>(value.size()) == size) {
      bytes += value;
      return EncodeOutcome::Added;
    }
    if (!parameter.mandatory) return EncodeOutcome::Skipped;
    if (!Fits(size)) return EncodeOutcome::TooLong;
    bytes.append(static_cast<size_t>(std::max(size, 0)), ' ');
    return EncodeOutcome::Added;
  }
  if (type == ParameterType::kBinary) {
    bytes += static_cast<char>(LeadingDigits(value) & 0xFF);
    return EncodeOutcome::Added;
  }
  if (IsOneOf(type, {ParameterType::kFinance, ParameterType::kPercentage, ParameterType::kFinance3,
                     ParameterType::kInteger})) {
    RemoveAll(value, ',');
    const EncodeOutcome outcome = PadWithZeros(value, size);
    if (outcome == EncodeOutcome::Added) bytes += value;
    return outcome;
  }
  if (type == ParameterType::kBcdInteger) {
    const EncodeOutcome outcome = PadWithZeros(value, size);
    if (outcome != EncodeOutcome::Added) return outcome;
    bytes += static_cast<char>(LeadingDigits(value) & 0xFF);
    if (size > 1) bytes.append(static_cast<size_t>(size - 1), '\0');
    return outcome;
  }
  if (IsOneOf(type, {ParameterType::kString, ParameterType::kBigString})) {
    std::string text = value;
    ToPrinterCharset(text);
    if (type == ParameterType::kBigString) ReplaceAll(text, "\r\n", "\n");
    if (!Fits(size)) return EncodeOutcome::TooLong;
    if ((!text.empty() || parameter.mandatory) && static_cast<int32_t>(text.size()) < size)
      text.append(size - text.size(), ' ');
    return AddExactly(text, size, bytes);
  }
  if (IsOneOf(type, {ParameterType::kCliche, ParameterType::kStringVarSize,
                     ParameterType::kBigStringVarSize, ParameterType::kDiscount,
                     ParameterType::kFiscalMemoryAmount, ParameterType::kPassengerTicket})) {
    std::string text = type == ParameterType::kCliche ? ReplaceClicheMarkup(value) : value;
    ToPrinterCharset(text);
    if (IsOneOf(type, {ParameterType::kCliche, ParameterType::kStringVarSize,
                       ParameterType::kBigStringVarSize}))
      EndWithLineFeed(text, size);
    bytes += text;
    return EncodeOutcome::Added;
  }
  if (IsOneOf(type, {ParameterType::kDate, ParameterType::kDateFourDigitYear})) {
    RemoveAll(value, '/');
    return AddExactly(value, size, bytes);
  }
  if (type == ParameterType::kTime) {
    RemoveAll(value, '/');
    return AddExactly(value, size, bytes);
  }
  if (IsOneOf(type, {ParameterType::kItemAdjustment, ParameterType::kSubtotalAdjustment,
                     ParameterType::kPaymentDescription, ParameterType::kDetailTapeInterval,
                     ParameterType::kFiscalMemoryReading, ParameterType::kCloseCoupon})) {
    std::string text = value;
    if (type == ParameterType::kPaymentDescription) ToPrinterCharset(text);
    if (static_cast<int64_t>(text.size()) > size) return EncodeOutcome::WrongSize;
    bytes += text;
    return EncodeOutcome::Added;
  }
  if (type == ParameterType::kChequePositions) return EncodePairs(value, size, false, bytes);
  if (IsOneOf(type, {ParameterType::kDigHex, ParameterType::kDigHexNotEditable,
                     ParameterType::kAuthenticationCharacter}))
    return EncodePairs(value, size, true, bytes);
  if (type == ParameterType::kTaxRateChange) {
    if (static_cast<int64_t>(size) < static_cast<int64_t>(value.size()) - 2)
      return EncodeOutcome::WrongSize;
    bytes += static_cast<char>(LeadingDigits(std::string_view(value).substr(0, 2)) & 0xFF);
    bytes += value.size() > 64 ? value.substr(value.size() - 64) : value;
    return EncodeOutcome::Added;
  }
  if (type == ParameterType::kTicketOrCoupon) {
    bytes += (value == "b" || value == "B") ? '\xFF' : '\0';
    return EncodeOutcome::Added;
  }
  if (IsOneOf(type, {ParameterType::kServiceTaxLinkage, ParameterType::kOptions}))
    return AddExactly(value, size, bytes);
  return EncodeOutcome::Skipped;
}

}  // namespace taloven
