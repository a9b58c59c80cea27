#pragma once

#include <string>
#include <string_view>

#include "catalogue/command_record.h"

namespace taloven {

// How many bytes EncodeParameter gives the parameter whatever its value, or
// -1 when that depends on the value (texts of variable size and the like).
int EncodedParameterSize(const CommandParameter& parameter);

// The text a user would have typed for the parameter to be sent as these
// bytes: EncodeParameter read backwards. Numbers keep the digits sent (with
// the decimal comma of their type), texts lose the blanks and line feed the
// encoding added, fixed-size hex and digit pairs come back as pairs.
std::string DecodeParameter(const CommandParameter& parameter, std::string_view bytes);

}  // namespace taloven
