#pragma once

#include <string>
#include <string_view>

#include "sequences/totals_reading.h"

namespace taloven {

// Reads the counters and totals out of an X reading as the printer words it
// (Windows-1252, LF or CR LF line ends) by the labels of its lines: counters
// in the last characters of their line, amounts right-aligned in the last 12.
TotalsReading ParseReadingText(std::string_view text);

// The same for a stored reading. A missing or unreadable file reads as an
// all-zero reading; *found, when given, says whether the file was read.
TotalsReading ParseReading(const std::string& path, bool* found = nullptr);

}  // namespace taloven
