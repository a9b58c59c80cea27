#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "base/status.h"

namespace taloven {

// Reads a whole file into bytes. Fails, saying why and with the system's
// errno, when it cannot be opened or read (a folder cannot be read), or when
// it holds more than largest bytes (EFBIG), which is told before reading.
Status ReadWholeFile(const std::string& path, std::string& bytes,
                     uint64_t largest = std::numeric_limits<uint64_t>::max());

}  // namespace taloven
