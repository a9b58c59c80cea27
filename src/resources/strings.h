#pragma once

#include <string>

namespace taloven {

// The string table: every numbered text of the program, in Windows-1252.
// An id the table does not hold gives an empty text.
const std::string& Str(int id);
bool HasStr(int id);

}  // namespace taloven
