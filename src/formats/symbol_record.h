#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace taloven {

// The printer prints its journal as PDF-417 symbols, one record each: the
// journal's total size and this piece's offset (4 bytes each,
// little-endian), the piece of the journal (kSymbolPayloadBytes, fewer in
// the last symbol), and a 2-byte trailer. What the trailer holds is the
// printer's business: it is neither checked nor kept.
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
  TooShort,  // not even a head and a trailer, or less than its share of the set
  OutOfSet,  // its offset does not fit its own total, or it holds more than its share
};

// With no checksum to go by, the layout is all a record can be judged on:
// the offset falls on a symbol's start within the total, and the payload is
// that symbol's whole share of the set (a record of head and trailer alone
// is let through: it adds nothing).
SymbolCheck ReadSymbolRecord(std::string_view bytes, SymbolRecord& out);
// The record with the given trailer (padded with 00h to its two bytes).
std::string MakeSymbolRecord(uint32_t total, uint32_t offset, std::string_view payload,
                             std::string_view trailer = {});

// How many symbols a journal of total bytes takes; the number of the symbol
// at offset.
inline uint32_t SymbolCount(uint32_t total) {
  return static_cast<uint32_t>((total + kSymbolPayloadBytes - 1) / kSymbolPayloadBytes);
}
inline uint32_t SymbolNumber(uint32_t offset) {
  return static_cast<uint32_t>(offset / kSymbolPayloadBytes);
}

}  // namespace taloven
