#pragma once

#include <string>
#include <string_view>

#include "base/result.h"
#include "sequences/totals_reading.h"

namespace taloven {

// Reads the counters and totals out of an X reading as the printer words it
// (Windows-1252, LF or CR LF line ends) by the labels of its lines: counters
// in the last characters of their line, amounts right-aligned in the last 12.
TotalsReading ParseReadingText(std::string_view text);

// An X reading is some kilobytes: a file of megabytes is no reading, and is
// refused before it is read.
constexpr uint64_t kLargestReadingBytes = 1 << 22;

// The same for a stored reading. A missing or unreadable file reads as an
// all-zero reading; *found, when given, says whether the file was read. A
// file larger than kLargestReadingBytes fails.
Result<TotalsReading> ParseReading(const std::string& path, bool* found = nullptr);

}  // namespace taloven
