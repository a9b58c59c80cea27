#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "printer/printer_state.h"

namespace taloven::emulator {

// Width of the printer's paper in characters.
constexpr size_t kLineWidth = 48;

// The X reading as the printer sends it through the port: code page 850,
// LF line ends. Every total sits right-aligned at the end of its line, so
// that a reader can take the last characters of a line as its value.
std::string XReadingText(const PrinterState& state, int64_t now);

// The fiscal-memory reading of the reductions given (oldest first).
std::string FiscalMemoryText(const PrinterState& state, const std::vector<ZRecord>& reductions,
                             int64_t now);

}  // namespace taloven::emulator
