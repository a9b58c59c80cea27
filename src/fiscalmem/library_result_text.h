#pragma once

#include <cstdint>
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

// For an input the library refused as no memory file (result 6; its path as
// the file system gives it, UTF-8): when it
// is larger than any download makes (largest bytes: kLargestMfdFileBytes or
// kLargestImageBytes), the text that says so; else nothing.
std::optional<std::string> OversizedInputText(const std::string& path, uint64_t largest);

// Why the library left a bitmap out of an MFD file (results 8 to 10), or
// nothing for any other result.
std::optional<std::string> BitmapRefusalText(int result);

}  // namespace taloven
