#include "base/encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace taloven {
namespace {

// Windows-1252 0x80..0x9F; 0 marks the five codes the code page leaves unassigned.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t Cp1252ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    char32_t cp = kHighControls[byte - 0x80];
    return cp != 0 ? cp : byte;  // unassigned bytes travel as C1 controls
  }
  return byte;
}

int CodePointToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
  if (cp >= 0x80 && cp <= 0x9F) return static_cast<int>(cp);
  return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view cp1252) {
  const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  if (std::all_of(cp1252.begin(), cp1252.end(), isAscii)) return std::string(cp1252);
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 4);
  for (unsigned char byte : cp1252) AppendUtf8(out, Cp1252ToCodePoint(byte));
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  // Texts in plain ASCII, most of any file, are the same in both.
  const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  if (std::all_of(utf8.begin(), utf8.end(), isAscii)) return std::string(utf8);
  // One byte for each character, or for each byte that is none: never
  // longer than utf8, so written in place rather than appended.
  std::string out(utf8.size(), '\0');
  size_t length = 0;
  size_t i = 0;
  while (i < utf8.size()) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out[length++] = utf8[i++];
      continue;
    }
    char32_t cp = 0;
    size_t extra = 0;
    if ((lead & 0xE0) == 0xC0) {
      cp = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      cp = lead & 0x0F;
      extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
      cp = lead & 0x07;
      extra = 3;
    } else {
      out[length++] = '?';  // a stray continuation byte is no character
      ++i;
      continue;
    }
    bool valid = true;
    for (size_t k = 1; k <= extra; ++k) {
      if (i + k >= utf8.size() || (static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    if (!valid) {
      out[length++] = '?';
      ++i;
      continue;
    }
    i += extra + 1;
    int byte = CodePointToCp1252(cp);
    out[length++] = byte >= 0 ? static_cast<char>(byte) : '?';
  }
  out.resize(length);
  return out;
}

}  // namespace taloven
