#include "formats/symbol_record.h"

#include "formats/crc32.h"
#include "formats/little_endian.h"

namespace taloven {

SymbolCheck ReadSymbolRecord(std::string_view bytes, SymbolRecord& out) {
  out = SymbolRecord{};
  if (bytes.size() < kSymbolHeadBytes + kSymbolTrailerBytes) return SymbolCheck::TooShort;
  const size_t trailerAt = bytes.size() - kSymbolTrailerBytes;
  if ((Crc32(bytes.substr(0, trailerAt)) & 0xFFFF) != GetLittleEndian(bytes, trailerAt, 2))
    return SymbolCheck::BadTrailer;
  out.total = static_cast<uint32_t>(GetLittleEndian(bytes, 0, 4));
  out.offset = static_cast<uint32_t>(GetLittleEndian(bytes, 4, 4));
  out.payload = bytes.substr(kSymbolHeadBytes, trailerAt - kSymbolHeadBytes);
  if (out.offset % kSymbolPayloadBytes != 0 || out.offset >= out.total ||
      out.payload.size() > kSymbolPayloadBytes || out.payload.size() > out.total - out.offset)
    return SymbolCheck::OutOfSet;
  return SymbolCheck::Sound;
}

std::string MakeSymbolRecord(uint32_t total, uint32_t offset, std::string_view payload) {
  std::string record;
  PutLittleEndian(record, total, 4);
  PutLittleEndian(record, offset, 4);
  record += payload;
  PutLittleEndian(record, Crc32(record) & 0xFFFF, 2);
  return record;
}

}  // namespace taloven
