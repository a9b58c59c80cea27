#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "base/status.h"

namespace taloven {

// Reads a whole file into bytes. Fails, saying why and with the system's
// errno, when it cannot be opened or read (a folder cannot be read), or when
// it holds more than largest bytes (EFBIG), which is told before reading.
Status ReadWholeFile(const std::string& path, std::string& bytes,
                     uint64_t largest = std::numeric_limits<uint64_t>::max());

// Hands a file to take a piece at a time, in order, so that a large file
// never stands whole in memory; a piece lasts only for the call, and take
// returning false stops the reading there. Fails as ReadWholeFile does.
Status ReadFileInPieces(const std::string& path,
                        const std::function<bool(std::string_view piece)>& take);

}  // namespace taloven
