#include "formats/symbol_record.h"

#include <algorithm>

#include "formats/little_endian.h"

namespace taloven {

SymbolCheck ReadSymbolRecord(std::string_view bytes, SymbolRecord& out) {
  out = SymbolRecord{};
  if (bytes.size() < kSymbolHeadBytes + kSymbolTrailerBytes) return SymbolCheck::TooShort;
  out.total = static_cast<uint32_t>(GetLittleEndian(bytes, 0, 4));
  out.offset = static_cast<uint32_t>(GetLittleEndian(bytes, 4, 4));
  out.payload =
      bytes.substr(kSymbolHeadBytes, bytes.size() - kSymbolHeadBytes - kSymbolTrailerBytes);
  if (out.offset % kSymbolPayloadBytes != 0 || out.offset >= out.total)
    return SymbolCheck::OutOfSet;
  const size_t share = std::min<size_t>(kSymbolPayloadBytes, out.total - out.offset);
  if (out.payload.size() > share) return SymbolCheck::OutOfSet;
  if (!out.payload.empty() && out.payload.size() < share) return SymbolCheck::TooShort;
  return SymbolCheck::Sound;
}

std::string MakeSymbolRecord(uint32_t total, uint32_t offset, std::string_view payload,
                             std::string_view trailer) {
  std::string record;
  PutLittleEndian(record, total, 4);
  PutLittleEndian(record, offset, 4);
  record += payload;
  PutField(record, trailer, kSymbolTrailerBytes);
  return record;
}

}  // namespace taloven
