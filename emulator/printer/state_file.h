#pragma once

#include <string>

#include "base/status.h"
#include "printer/printer_state.h"

namespace taloven::emulator {

// The state file is plain text, one "key = value" a line, texts in UTF-8
// with \n, \\ and \xHH escapes for what is not printable. Lines starting
// with '#' and blank lines are ignored; keys not present keep the default.

std::string StateToText(const PrinterState& state);
// Fails, with a message naming the line, when the text cannot be read.
Status StateFromText(const std::string& text, PrinterState& state);

// Loads the file; a missing file leaves state as it is.
Status LoadStateFile(const std::string& path, PrinterState& state);
// Writes the whole file under a temporary name and moves it into place, so
// that an interrupted write never leaves half a state behind.
Status SaveStateFile(const std::string& path, const PrinterState& state);

}  // namespace taloven::emulator
