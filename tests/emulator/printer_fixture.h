#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "printer/printer.h"
#include "printer/text850.h"
#include "printer/wire_frame.h"

namespace taloven::emulator::testing {

// A printer on a clock the test holds still: 7 December 2026, 10:00 UTC.
constexpr int64_t kTestHostTime = 1796637600;

inline std::vector<uint8_t> Body(std::initializer_list<uint8_t> code,
                                 const std::string& parameters) {
  std::vector<uint8_t> body(code);
  body.insert(body.end(), parameters.begin(), parameters.end());
  return body;
}

struct Answer {
  std::vector<uint8_t> bytes;
  uint8_t st1 = 0, st2 = 0;
  uint16_t extended = 0;
  std::vector<uint8_t> data;
  std::string text;  // variable-length replies
};

class PrinterFixture {
 public:
  explicit PrinterFixture(PrinterState state = DefaultPrinterState("ECF-T08"))
      : printer(std::move(state), [this] { return hostTime; }) {}

  // Sends a command with extended return on and splits the reply.
  Answer Send(std::initializer_list<uint8_t> code, const std::string& parameters = "",
              bool variable = false) {
    Frame frame{kExtendedStart, Body(code, parameters)};
    Answer a;
    a.bytes = printer.Answer(frame).bytes;
    if (variable) {
      a.st1 = a.bytes[1];
      a.st2 = a.bytes[2];
      a.extended = static_cast<uint16_t>(a.bytes[3] | (a.bytes[4] << 8));
      a.text.assign(a.bytes.begin() + 5, a.bytes.end() - 1);
      return a;
    }
    const size_t n = a.bytes.size();
    a.data.assign(a.bytes.begin() + 1, a.bytes.end() - 4);
    a.st1 = a.bytes[n - 4];
    a.st2 = a.bytes[n - 3];
    a.extended = static_cast<uint16_t>(a.bytes[n - 2] | (a.bytes[n - 1] << 8));
    return a;
  }

  int64_t hostTime = kTestHostTime;
  Printer printer;
};

// Parameter texts as the application sends them.
inline std::string Digits(int64_t value, size_t width) {
  std::string text = std::to_string(value);
  return std::string(width - text.size(), '0') + text;
}
inline std::string Padded(const std::string& text, size_t width) {
  return Fit(text, width);
}

inline std::string SaleParameters(const std::string& tax, int64_t quantityThousandths,
                                  int64_t unitCents, const std::string& discount = "") {
  return Padded("7891234567895", 13) + Padded("ARROZ", 29) + tax + Digits(quantityThousandths, 7) +
         Digits(unitCents, 8) + discount;
}

}  // namespace taloven::emulator::testing
