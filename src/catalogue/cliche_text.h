#pragma once

#include <string>

#include "ui/ui.h"

namespace taloven {

// The owner's cliché as the printer receives it: three lines, each framed by
// the tokens of its styles (expanded into escape sequences when sent), cut so
// that text and escape bytes fit the printed line, optionally centred, each
// ended by CR LF.
std::string BuildClicheText(const ClicheAnswer& answer);

constexpr int kClicheLineWidth = 47;
// The third line's box takes two printed lines of typing; what is kept of it
// is cut like the other lines, its line break counted among the characters.
constexpr int kClicheLastLineLimit = 94;

}  // namespace taloven
