#pragma once

#include <cstdint>
#include <string>

#include "printer/printer_state.h"

namespace taloven::emulator {

// The lines of the documents the printer prints, as its electronic journal
// keeps them: code page 850, each line ended by LF, kLineWidth wide at most.
// Every document opens with the owner's header and a line with date, time
// and "COO:", and closes with the printer's identity and its "FAB:" line
// (date at column 28, time at column 39).
class DocumentPrint {
 public:
  DocumentPrint(const PrinterState& state, int64_t when, int coo);

  void Line(std::string_view utf8);
  void Line850(const std::string& line);
  // A label (UTF-8) with its value at the right edge.
  void Row(std::string_view label, const std::string& value);
  void Centred(std::string_view utf8);
  void Rule();
  // The closing lines; returns the whole document.
  std::string Finish();

 private:
  const PrinterState& state_;
  int64_t when_;
  std::string text_;
};

// "DDMMYYYYhhmmss" of a moment on the printer's clock.
std::string JournalTime(int64_t when);

}  // namespace taloven::emulator
