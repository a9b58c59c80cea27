#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "sequences/totals_reading.h"

namespace taloven {

// An X reading is some kilobytes and a line of it 48 columns: a line longer
// than this is no line of a reading. It reads as a blank line, so that no
// piece of it is read as a line of its own.
constexpr size_t kLongestReadingLine = size_t{1} << 22;
// The reading is read a piece of this size at a time, so that a file of any
// size costs the same memory.
constexpr size_t kReadingPieceBytes = size_t{64} << 10;

// Reads the counters and totals out of an X reading as the printer words it
// (Windows-1252, LF or CR LF line ends) by the labels of its lines: counters
// in the last characters of their line, amounts right-aligned in the last 12.
// The text is taken a piece of pieceBytes at a time, as a file is.
TotalsReading ParseReadingText(std::string_view text, size_t pieceBytes = kReadingPieceBytes);

// The same for a stored reading, read as it goes. A missing or unreadable
// file reads as an all-zero reading; *found, when given, says whether the
// file was read to its end.
TotalsReading ParseReading(const std::string& path, bool* found = nullptr);

}  // namespace taloven
