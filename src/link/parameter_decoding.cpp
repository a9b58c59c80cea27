#include "link/parameter_decoding.h"

#include <cstdio>

#include "base/printer_charset.h"
#include "catalogue/cliche_markup.h"
#include "catalogue/parameter_type.h"

namespace taloven {
namespace {

std::string FromPrinter(std::string_view bytes) {
  std::string text(bytes);
  PrinterTextToWindows(text);
  return text;
}

std::string WithoutTrailing(std::string text, char c) {
  while (!text.empty() && text.back() == c) text.pop_back();
  return text;
}

std::string WindowsLineEnds(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// Digits with the comma before the last `decimals`, the leading zeros gone.
std::string Amount(std::string_view digits, size_t decimals) {
  std::string text(digits);
  size_t first = 0;
  while (first + decimals + 1 < text.size() && text[first] == '0') ++first;
  text.erase(0, first);
  if (decimals > 0 && text.size() > decimals) text.insert(text.size() - decimals, ",");
  return text;
}

std::string Pairs(std::string_view bytes, bool hex) {
  std::string text;
  char pair[4];
  for (char c : bytes) {
    std::snprintf(pair, sizeof pair, hex ? "%02X" : "%02u",
                  static_cast<unsigned>(static_cast<uint8_t>(c)));
    text += pair;
  }
  return text;
}

}  // namespace

int EncodedParameterSize(const CommandParameter& parameter) {
  const int size = parameter.size < 0 ? 0 : parameter.size;
  switch (TypeOf(parameter)) {
    case ParameterType::kBinary:
    case ParameterType::kTicketOrCoupon:
      return 1;
    case ParameterType::kNotEditable:
    case ParameterType::kFinance:
    case ParameterType::kPercentage:
    case ParameterType::kFinance3:
    case ParameterType::kInteger:
    case ParameterType::kBcdInteger:
    case ParameterType::kString:
    case ParameterType::kBigString:
    case ParameterType::kDate:
    case ParameterType::kDateFourDigitYear:
    case ParameterType::kTime:
    case ParameterType::kChequePositions:
    case ParameterType::kDigHex:
    case ParameterType::kDigHexNotEditable:
    case ParameterType::kAuthenticationCharacter:
    case ParameterType::kServiceTaxLinkage:
    case ParameterType::kOptions:
      return size;
    case ParameterType::kOther:
      return 0;
    default:
      return -1;
  }
}

std::string DecodeParameter(const CommandParameter& parameter, std::string_view bytes) {
  const ParameterType type = TypeOf(parameter);
  switch (type) {
    case ParameterType::kBinary:
      return bytes.empty() ? std::string() : std::to_string(static_cast<uint8_t>(bytes[0]));
    case ParameterType::kTicketOrCoupon:
      return !bytes.empty() && static_cast<uint8_t>(bytes[0]) == 0xFF ? "B" : "C";
    case ParameterType::kFinance:
    case ParameterType::kPercentage:
      return Amount(bytes, 2);
    case ParameterType::kFinance3:
      return Amount(bytes, 3);
    case ParameterType::kBcdInteger: {
      std::string digits = bytes.empty() ? "0" : std::to_string(static_cast<uint8_t>(bytes[0]));
      if (static_cast<int>(digits.size()) < parameter.size)
        digits.insert(0, static_cast<size_t>(parameter.size) - digits.size(), '0');
      return digits;
    }
    case ParameterType::kString:
      return WithoutTrailing(FromPrinter(bytes), ' ');
    case ParameterType::kBigString:
      return WindowsLineEnds(WithoutTrailing(FromPrinter(bytes), ' '));
    case ParameterType::kCliche:
      return ClicheEscapesToTokens(WindowsLineEnds(WithoutTrailing(FromPrinter(bytes), '\n')));
    case ParameterType::kStringVarSize:
    case ParameterType::kBigStringVarSize:
      return WindowsLineEnds(WithoutTrailing(FromPrinter(bytes), '\n'));
    case ParameterType::kDiscount:
    case ParameterType::kFiscalMemoryAmount:
    case ParameterType::kPassengerTicket:
    case ParameterType::kPaymentDescription:
      return FromPrinter(bytes);
    case ParameterType::kDate:
    case ParameterType::kDateFourDigitYear:
      if (bytes.size() < 5) return std::string(bytes);
      return std::string(bytes.substr(0, 2)) + "/" + std::string(bytes.substr(2, 2)) + "/" +
             std::string(bytes.substr(4));
    case ParameterType::kChequePositions:
      return Pairs(bytes, false);
    case ParameterType::kDigHex:
    case ParameterType::kDigHexNotEditable:
    case ParameterType::kAuthenticationCharacter:
      return Pairs(bytes, true);
    case ParameterType::kTaxRateChange:
      // The first byte repeats the value's first two digits.
      return bytes.empty() ? std::string() : std::string(bytes.substr(1));
    default:
      return std::string(bytes);
  }
}

}  // namespace taloven
