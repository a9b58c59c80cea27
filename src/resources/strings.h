#pragma once

#include <string>

#include "resources/string_table.h"

// Texts shown to the user come in two kinds. A text with a number is in the
// string table (string_table.h) and is reached only through its StrId, so an
// id the table does not hold does not compile. A text without a number is a
// literal written in the one file that shows it (through W() when it is not
// ASCII); a literal needed in a second file becomes a named constant in the
// lowest room both use, never a second copy.

namespace taloven {

enum class StrId : int {
#define TALOVEN_STRING_ID(name, number, text) name = number,
  TALOVEN_STRING_TABLE(TALOVEN_STRING_ID)
#undef TALOVEN_STRING_ID
};

// The numbered text, in Windows-1252.
const std::string& Str(StrId id);

// The warning before an incomplete set of PDF-417 symbols is saved, up to
// and with its "Sim" choice; the capture and the bitmap decoding add theirs.
const std::string& PartialSymbolSetWarning();

}  // namespace taloven
