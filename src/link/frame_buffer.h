#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace taloven {

// A command frame while it is built: STX, the length, the command and
// parameter bytes, the byte-sum checksum. It never grows past 4096 bytes:
// Append refuses what would not fit.
struct FrameBuffer {
  static constexpr size_t kCapacity = 4096;
  std::vector<uint8_t> data;  // at least length bytes; those are the frame
  uint32_t length = 0;

  // Empties the frame and keeps room for STX and N, which Seal fills.
  void Start() {
    data.assign(3, 0);
    length = 3;
  }

  bool Append(const uint8_t* bytes, size_t count);
  bool Append(std::string_view bytes) {
    return Append(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  bool AppendByte(uint8_t byte) { return Append(&byte, 1); }
  // Writes STX and the length and appends the byte-sum checksum; false when
  // the two checksum bytes would not fit.
  bool Seal();
  std::vector<uint8_t> Bytes() const {
    return {data.begin(), data.begin() + std::min<size_t>(length, data.size())};
  }
};

}  // namespace taloven
