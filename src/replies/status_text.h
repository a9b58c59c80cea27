#pragma once

#include <cstdint>
#include <string>

namespace taloven {

// "COMANDO OK", or the texts of every set bit of ST1 then ST2, bit 7 first.
std::string StatusText(uint8_t status1, uint8_t status2);
// The text of the extended return code high * 256 + low ("" above 213).
std::string ExtendedErrorText(uint8_t low, uint8_t high);

}  // namespace taloven
