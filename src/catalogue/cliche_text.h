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
constexpr int kClicheLastLineLimit = 94;  // the third line spans two printed lines

}  // namespace taloven
