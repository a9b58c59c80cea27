#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace taloven::emulator {

// value in 2 x bytes packed decimal digits, most significant first; digits
// that do not fit are dropped from the front, as a counter rolls over.
void AppendBcd(std::vector<uint8_t>& out, int64_t value, int bytes);

// Three packed bytes of the printer's calendar: DDMMYY and HHMMSS.
void AppendBcdDate(std::vector<uint8_t>& out, int64_t when);
void AppendBcdTime(std::vector<uint8_t>& out, int64_t when);

// The broken-down time of the printer's clock (kept in UTC so that the
// host's time zone never moves it).
std::tm Calendar(int64_t when);
// Seconds since the epoch for a calendar moment; false when not a real date.
bool FromCalendar(int day, int month, int year, int hour, int minute, int second, int64_t& when);

// "1.234,56": the printer's way of printing money.
std::string FormatMoney(int64_t cents);
// "%0*d" of a counter, cut to its last digits.
std::string FormatCounter(int64_t value, int digits);

}  // namespace taloven::emulator
