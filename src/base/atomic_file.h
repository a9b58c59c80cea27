#pragma once

#include <string>

namespace taloven {

// Replaces the file at path with bytes, or leaves it as it was: the bytes go
// to a temporary file beside it, which is then renamed over it. On failure
// returns false and says why in *error (the system's reason).
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error);

}  // namespace taloven
