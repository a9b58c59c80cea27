#pragma once

#include <string>
#include <string_view>

namespace taloven {

// Reads a whole file into bytes. False, with a reason in *error, when it
// cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);

// Writes bytes to a temporary file beside path, flushes it to the disk and
// renames it over path: readers see either the old file or the whole new one,
// never a half-written one. An existing file keeps its permissions.
bool WriteWholeFileAtomically(const std::string& path, std::string_view bytes,
                              std::string* error = nullptr);

}  // namespace taloven
