#pragma once

#include <string>

namespace taloven {

// The hexadecimal view of a dump text of CMD/RET pairs.
std::string HexDumpText(const std::string& dump);

}  // namespace taloven
