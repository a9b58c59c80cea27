#pragma once

#include <string>

#include "base/status.h"

namespace taloven {

// Replaces the file at path with bytes, or leaves it as it was: the bytes go
// to a temporary file beside it, which is then renamed over it. A file
// written again keeps its permissions. A failure says the system's reason.
Status WriteFileAtomically(const std::string& path, const std::string& bytes);

// The user's message for a file not written: "não foi possível gravar PATH
// (reason)", the path as the file system gives it (UTF-8) and the message in
// Windows-1252.
std::string CannotWrite(const std::string& path, const std::string& reason);

}  // namespace taloven
