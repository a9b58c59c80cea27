#pragma once

#include <string>
#include <string_view>

namespace taloven {

// Inside the core every text is Windows-1252 bytes; these convert at the
// edges (Qt, the terminal, UTF-8 source literals).
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view cp1252);

// Converts a UTF-8 literal of the sources to the core's encoding.
inline std::string W(std::string_view utf8) {
  return Utf8ToCp1252(utf8);
}

}  // namespace taloven
