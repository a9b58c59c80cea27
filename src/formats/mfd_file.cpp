#include "formats/mfd_file.h"

#include <algorithm>

namespace taloven {
namespace {

// The two closing bytes of a marker block tell its kind from stray data.
constexpr uint8_t kSignature[2][2] = {{0x42, 0x55}, {0x3C, 0x40}};
constexpr size_t kSourceWidth = kMfdMarkerBlockSize - 3;

std::string MarkerBlock(uint8_t kind, std::string_view source) {
  std::string block(kMfdMarkerBlockSize, '\0');
  block[0] = static_cast<char>(kind);
  block.replace(1, std::min(source.size(), kSourceWidth), source.substr(0, kSourceWidth));
  block[kMfdMarkerBlockSize - 2] = static_cast<char>(kSignature[kind][0]);
  block[kMfdMarkerBlockSize - 1] = static_cast<char>(kSignature[kind][1]);
  return block;
}

bool IsMarkerBlock(std::string_view block, uint8_t kind) {
  return static_cast<uint8_t>(block[0]) == kind &&
         static_cast<uint8_t>(block[kMfdMarkerBlockSize - 2]) == kSignature[kind][0] &&
         static_cast<uint8_t>(block[kMfdMarkerBlockSize - 1]) == kSignature[kind][1];
}

}  // namespace

std::string MfdFileBytes(std::string_view source, std::string_view payload) {
  std::string bytes;
  bytes.reserve(kMfdHeaderBytes + payload.size() + kMfdTrailerBytes);
  bytes.assign(kMfdErasedBytes, '\xFF');
  for (uint8_t kind : {0, 1})
    for (size_t copy = 0; copy < kMfdMarkerCopies; ++copy) bytes += MarkerBlock(kind, source);
  bytes += payload;
  bytes.append(kMfdTrailerBytes, '\xFF');
  return bytes;
}

bool ReadMfdMarkers(std::string_view markers, std::string& source) {
  source.clear();
  if (markers.size() < 2 * kMfdMarkerCopies * kMfdMarkerBlockSize) return false;
  // Any sound copy names the source: one damaged copy costs nothing.
  bool anyMarker = false;
  for (size_t i = 0; i < 2 * kMfdMarkerCopies; ++i) {
    const uint8_t kind = i < kMfdMarkerCopies ? 0 : 1;
    const std::string_view block = markers.substr(i * kMfdMarkerBlockSize, kMfdMarkerBlockSize);
    if (!IsMarkerBlock(block, kind)) continue;
    anyMarker = true;
    if (source.empty()) {
      const std::string_view text = block.substr(1, kSourceWidth);
      source = std::string(text.substr(0, text.find('\0')));
    }
  }
  return anyMarker;
}

bool MfdClosed(std::string_view lastBytes) {
  return lastBytes.size() >= kMfdTrailerBytes &&
         lastBytes.substr(lastBytes.size() - kMfdTrailerBytes).find_first_not_of('\xFF') ==
             std::string_view::npos;
}

bool ParseMfdFile(std::string_view bytes, MfdContents& out) {
  out = MfdContents{};
  if (bytes.size() < kMfdHeaderBytes) return false;
  if (!ReadMfdMarkers(bytes.substr(kMfdErasedBytes, kMfdHeaderBytes - kMfdErasedBytes), out.source))
    return false;
  std::string_view payload = bytes.substr(kMfdHeaderBytes);
  // The closing FFh bytes are no data.
  size_t end = payload.size();
  if (MfdClosed(payload)) {
    end -= kMfdTrailerBytes;
  } else {
    while (end > 0 && static_cast<uint8_t>(payload[end - 1]) == 0xFF) --end;
  }
  out.payload = payload.substr(0, end);
  return true;
}

}  // namespace taloven
