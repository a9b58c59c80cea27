#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace taloven {

// Binary counts in the memory images are little-endian, whatever the host.
inline void PutLittleEndian(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline uint64_t GetLittleEndian(std::string_view in, size_t at, int bytes) {
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i)
    value = (value << 8) | static_cast<uint8_t>(in[at + static_cast<size_t>(i)]);
  return value;
}

// A text field of exactly width bytes: cut, or padded with NUL bytes.
inline void PutField(std::string& out, std::string_view text, size_t width) {
  const size_t n = text.size() < width ? text.size() : width;
  out.append(text.substr(0, n));
  out.append(width - n, '\0');
}

// A text field read back without its padding.
inline std::string GetField(std::string_view in, size_t at, size_t width) {
  std::string_view field = in.substr(at, width);
  const size_t end = field.find('\0');
  return std::string(end == std::string_view::npos ? field : field.substr(0, end));
}

}  // namespace taloven
