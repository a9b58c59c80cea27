#include "printer/bcd.h"

namespace taloven::emulator {

void AppendBcd(std::vector<uint8_t>& out, int64_t value, int bytes) {
  if (value < 0) value = -value;
  std::vector<uint8_t> packed(static_cast<size_t>(bytes), 0);
  for (int i = bytes - 1; i >= 0; --i) {
    const int low = static_cast<int>(value % 10);
    value /= 10;
    const int high = static_cast<int>(value % 10);
    value /= 10;
    packed[static_cast<size_t>(i)] = static_cast<uint8_t>((high << 4) | low);
  }
  out.insert(out.end(), packed.begin(), packed.end());
}

std::tm Calendar(int64_t when) {
  const std::time_t t = static_cast<std::time_t>(when);
  std::tm result{};
  gmtime_r(&t, &result);
  return result;
}

bool FromCalendar(int day, int month, int year, int hour, int minute, int second, int64_t& when) {
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59 ||
      hour < 0 || minute < 0 || second < 0)
    return false;
  std::tm parts{};
  parts.tm_mday = day;
  parts.tm_mon = month - 1;
  parts.tm_year = year - 1900;
  parts.tm_hour = hour;
  parts.tm_min = minute;
  parts.tm_sec = second;
  const std::time_t t = timegm(&parts);
  // timegm normalises 31/02 into March: such a date does not exist.
  if (parts.tm_mday != day || parts.tm_mon != month - 1) return false;
  when = static_cast<int64_t>(t);
  return true;
}

void AppendBcdDate(std::vector<uint8_t>& out, int64_t when) {
  const std::tm c = Calendar(when);
  AppendBcd(out, c.tm_mday, 1);
  AppendBcd(out, c.tm_mon + 1, 1);
  AppendBcd(out, c.tm_year % 100, 1);
}

void AppendBcdTime(std::vector<uint8_t>& out, int64_t when) {
  const std::tm c = Calendar(when);
  AppendBcd(out, c.tm_hour, 1);
  AppendBcd(out, c.tm_min, 1);
  AppendBcd(out, c.tm_sec, 1);
}

std::string FormatMoney(int64_t cents) {
  const bool negative = cents < 0;
  if (negative) cents = -cents;
  std::string units = std::to_string(cents / 100);
  std::string grouped;
  for (size_t i = 0; i < units.size(); ++i) {
    if (i > 0 && (units.size() - i) % 3 == 0) grouped.push_back('.');
    grouped.push_back(units[i]);
  }
  const int decimals = static_cast<int>(cents % 100);
  grouped.push_back(',');
  grouped.push_back(static_cast<char>('0' + decimals / 10));
  grouped.push_back(static_cast<char>('0' + decimals % 10));
  return negative ? "-" + grouped : grouped;
}

std::string FormatCounter(int64_t value, int digits) {
  std::string text = std::to_string(value < 0 ? 0 : value);
  if (static_cast<int>(text.size()) > digits)
    return text.substr(text.size() - static_cast<size_t>(digits));
  return std::string(static_cast<size_t>(digits) - text.size(), '0') + text;
}

}  // namespace taloven::emulator
