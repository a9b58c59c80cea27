#pragma once

#include <string>
#include <string_view>

namespace taloven {

// A cliché is kept and edited with style tokens and sent with the printer's
// escape sequences. One table serves both directions, so that a cliché read
// from the printer, stored and programmed back comes back unchanged.
struct ClicheMarkup {
  std::string_view token;
  std::string_view escape;
};

// In the order both conversions apply them.
extern const ClicheMarkup kClicheMarkup[8];

// Every token replaced by its escape sequence (what the printer receives).
std::string ClicheTokensToEscapes(std::string text);
// Every escape sequence replaced by its token (what a cliché read gives).
std::string ClicheEscapesToTokens(std::string text);

}  // namespace taloven
