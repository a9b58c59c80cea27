#pragma once

#include <optional>
#include <string>

namespace taloven {

// The text a fiscal-memory library result stands for (Windows-1252), or
// nothing for a result that counts as success (anything outside 2 to 7).
std::optional<std::string> LibraryResultText(int result);

// What a report or database left out of a damaged file: journal records, or
// the fiscal memory's blocks.
std::string SkippedRecordsText(long long records, long long bytes);
std::string SkippedBlocksText(long long blocks);

// An output file the library could not write, with the system's reason.
std::string OutputNotWrittenText(const std::string& path, const std::string& reason);

}  // namespace taloven
