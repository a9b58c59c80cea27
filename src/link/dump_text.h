#pragma once

#include <cstdint>
#include <string>

namespace taloven {

// Adds one exchanged byte to a dump text: a space and two upper-case
// hexadecimal digits.
inline void AppendDumpByte(std::string& dump, uint8_t byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const char pair[3] = {' ', kHex[byte >> 4], kHex[byte & 0x0F]};
  dump.append(pair, 3);
}

}  // namespace taloven
