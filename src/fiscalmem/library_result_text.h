#pragma once

#include <optional>
#include <string>

namespace taloven {

// The text a fiscal-memory library result stands for (Windows-1252), or
// nothing for a result that counts as success (anything outside 2 to 7).
std::optional<std::string> LibraryResultText(int result);

// Why the library left a bitmap out of an MFD file (results 8 to 10), or
// nothing for any other result.
std::optional<std::string> BitmapRefusalText(int result);

}  // namespace taloven
