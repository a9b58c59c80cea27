#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace taloven {

// The printer prints its journal as PDF-417 symbols, one record each: the
// journal's total size and this piece's offset (4 bytes each,
// little-endian), at most kSymbolPayloadBytes of the journal, and a 2-byte
// trailer, the low half of the CRC-32 of everything before it.
constexpr size_t kSymbolHeadBytes = 8;
constexpr size_t kSymbolTrailerBytes = 2;
constexpr size_t kSymbolPayloadBytes = 668;

struct SymbolRecord {
  uint32_t total = 0;
  uint32_t offset = 0;
  std::string_view payload;  // points into the bytes read
};

enum class SymbolCheck {
  Sound,
  TooShort,    // not even a head and a trailer
  BadTrailer,  // damaged on its way
  OutOfSet,    // its offset or size do not fit its own total
};

SymbolCheck ReadSymbolRecord(std::string_view bytes, SymbolRecord& out);
std::string MakeSymbolRecord(uint32_t total, uint32_t offset, std::string_view payload);

// How many symbols a journal of total bytes takes; the number of the symbol
// at offset.
inline uint32_t SymbolCount(uint32_t total) {
  return static_cast<uint32_t>((total + kSymbolPayloadBytes - 1) / kSymbolPayloadBytes);
}
inline uint32_t SymbolNumber(uint32_t offset) {
  return static_cast<uint32_t>(offset / kSymbolPayloadBytes);
}

}  // namespace taloven
