#include "printer/text850.h"

#include <cstdint>
#include <utility>

namespace taloven::emulator {
namespace {

// Unicode code points of the letters and signs a Brazilian receipt needs,
// with their code page 850 codes.
constexpr std::pair<char32_t, uint8_t> kTable[] = {
    {U'Ç', 0x80}, {U'ü', 0x81}, {U'é', 0x82}, {U'â', 0x83}, {U'ä', 0x84}, {U'à', 0x85},
    {U'ç', 0x87}, {U'ê', 0x88}, {U'ë', 0x89}, {U'è', 0x8A}, {U'ï', 0x8B}, {U'î', 0x8C},
    {U'ì', 0x8D}, {U'Ä', 0x8E}, {U'É', 0x90}, {U'ô', 0x93}, {U'ö', 0x94}, {U'ò', 0x95},
    {U'û', 0x96}, {U'ù', 0x97}, {U'Ö', 0x99}, {U'Ü', 0x9A}, {U'á', 0xA0}, {U'í', 0xA1},
    {U'ó', 0xA2}, {U'ú', 0xA3}, {U'ñ', 0xA4}, {U'Ñ', 0xA5}, {U'ª', 0xA6}, {U'º', 0xA7},
    {U'Á', 0xB5}, {U'Â', 0xB6}, {U'À', 0xB7}, {U'ã', 0xC6}, {U'Ã', 0xC7}, {U'Ê', 0xD2},
    {U'Í', 0xD6}, {U'Ó', 0xE0}, {U'Ô', 0xE2}, {U'õ', 0xE4}, {U'Õ', 0xE5}, {U'Ú', 0xE9},
    {U'°', 0xF8},
};

}  // namespace

std::string Utf8To850(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    if (lead < 0x80) {
      out.push_back(static_cast<char>(lead));
      ++i;
      continue;
    }
    char32_t code = 0;
    size_t extra = 0;
    if ((lead & 0xE0) == 0xC0) {
      code = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      code = lead & 0x0F;
      extra = 2;
    } else {
      code = lead & 0x07;
      extra = 3;
    }
    size_t j = 1;
    for (; j <= extra && i + j < utf8.size(); ++j)
      code = (code << 6) | (static_cast<uint8_t>(utf8[i + j]) & 0x3F);
    i += j;
    char mapped = '?';
    for (const auto& [unicode, cp850] : kTable)
      if (unicode == code) mapped = static_cast<char>(cp850);
    out.push_back(mapped);
  }
  return out;
}

std::string Cp850ToUtf8(std::string_view cp850) {
  std::string out;
  for (char c : cp850) {
    const auto byte = static_cast<uint8_t>(c);
    if (byte < 0x80) {
      out.push_back(c);
      continue;
    }
    char32_t code = U'?';
    for (const auto& [unicode, mapped] : kTable)
      if (mapped == byte) code = unicode;
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

std::string Fit(std::string_view text, size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

}  // namespace taloven::emulator
