#pragma once

#include <string>
#include <string_view>

namespace taloven::emulator {

// The printer speaks code page 850. Its own texts are written in UTF-8 in
// the sources and converted here; characters it cannot print become '?'.
std::string Utf8To850(std::string_view utf8);
std::string Cp850ToUtf8(std::string_view cp850);

// Left-aligned and blank-padded, or cut, to exactly width bytes.
std::string Fit(std::string_view text, size_t width);

}  // namespace taloven::emulator
