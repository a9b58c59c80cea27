#include "catalogue/cliche_markup.h"

namespace taloven {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

}  // namespace

// Underline off is the character '0' while underline on is the byte 1, and
// expanded off is the byte 2: the printer's own codes.
const ClicheMarkup kClicheMarkup[8] = {
    {"CLICHE_SUB_INI_XML", "\x1B-\x01"},
    {"CLICHE_SUB_END_XML", "\x1B-0"},
    {"CLICHE_IT_INI_XML",
     "\x1B"
     "4"},
    {"CLICHE_IT_END_XML",
     "\x1B"
     "5"},
    {"CLICHE_ENF_INI_XML",
     "\x1B"
     "E"},
    {"CLICHE_ENF_END_XML",
     "\x1B"
     "F"},
    {"CLICHE_EXP_INI_XML", "\x1BW\x01"},
    {"CLICHE_EXP_END_XML", "\x1BW\x02"},
};

std::string ClicheTokensToEscapes(std::string text) {
  for (const ClicheMarkup& entry : kClicheMarkup) ReplaceAll(text, entry.token, entry.escape);
  return text;
}

std::string ClicheEscapesToTokens(std::string text) {
  for (const ClicheMarkup& entry : kClicheMarkup) ReplaceAll(text, entry.escape, entry.token);
  return text;
}

}  // namespace taloven
