#pragma once

#include <string>

#include "catalogue/command_record.h"

namespace taloven {

enum class EncodeOutcome {
  Added,      // the bytes were appended (possibly none, for an empty text)
  Skipped,    // the parameter adds nothing
  WrongSize,  // the value does not fit the parameter's size
  TooLong,    // the parameter alone would not fit in a frame
};

// Encodes one parameter that has a value (or is a mandatory fixed text) by
// its type and appends its bytes. Numbers, dates and times are normalised in
// the parameter's own value (separators removed, leading zeros added), as the
// printer receives them. A type without an encoding adds nothing.
EncodeOutcome EncodeParameter(CommandParameter& parameter, std::string& bytes);

// Replaces the cliché markup tags of a value by the printer's control bytes.
std::string ReplaceClicheMarkup(std::string value);

}  // namespace taloven
