#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace taloven {

// The common reflected CRC-32 (polynomial EDB88320h, initial and final
// value FFFFFFFFh): every block and record of the printer's memories carries
// one. Continue a running check by passing the previous result as crc.
uint32_t Crc32(std::string_view bytes, uint32_t crc = 0);

}  // namespace taloven
