#pragma once

#include <optional>
#include <string>

namespace taloven {

// The text a fiscal-memory library result stands for (Windows-1252), or
// nothing for a result that counts as success (anything outside 2 to 7).
std::optional<std::string> LibraryResultText(int result);

}  // namespace taloven
