#pragma once

#include <string>

#include "base/status.h"

namespace taloven {

// Reads a whole file into bytes. Fails, saying why and with the system's
// errno, when it cannot be opened or read (a folder cannot be read).
Status ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace taloven
