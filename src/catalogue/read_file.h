#pragma once

#include <string>

namespace taloven {

// Reads a whole file into bytes. False, with a reason in *error, when it
// cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);

}  // namespace taloven
