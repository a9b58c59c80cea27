#include "catalogue/cliche_text.h"

#include <algorithm>

namespace taloven {
namespace {

struct Style {
  bool ClicheLine::*ticked;
  const char* on;
  const char* off;
  int printerBytes;  // of the on and off sequences together
};

constexpr Style kStyles[] = {
    {&ClicheLine::underline, "CLICHE_SUB_INI_XML", "CLICHE_SUB_END_XML", 3},
    {&ClicheLine::italic, "CLICHE_IT_INI_XML", "CLICHE_IT_END_XML", 2},
    {&ClicheLine::emphasis, "CLICHE_ENF_INI_XML", "CLICHE_ENF_END_XML", 2},
    {&ClicheLine::expanded, "CLICHE_EXP_INI_XML", "CLICHE_EXP_END_XML", 3},
};

// The printer takes the whole cliché in 186 bytes: each line keeps to its
// share, so that no line's centring can crowd out another's text.
constexpr int kClicheBytes = 186;
constexpr int kLineShare = kClicheBytes / 3;

// Leading blanks that centre n characters on a printed line; expanded
// characters take two places each.
int CentringSpaces(int n, bool expanded) {
  int width = kClicheLineWidth;
  return expanded ? (width - 2 * n - 1) / 2 : (width - n) / 2;
}

// The centring blanks go in front of the style tokens, so they print plain
// (one place each) whatever the line's styles.
int LeadingSpaces(const std::string& text, bool expanded, bool last) {
  if (!last) return CentringSpaces(static_cast<int>(text.size()), expanded);
  // The third line may hold a line break: its first printed line decides,
  // capped so that the whole line keeps room for its second printed line.
  int m = static_cast<int>(text.size());
  int first = static_cast<int>(std::min(text.find("\r\n"), text.size()));
  int cap = expanded ? (79 - 2 * m) / 2 : (79 - m) / 2;
  return std::min(CentringSpaces(first, expanded), cap);
}

// Bytes the printer receives for a text: each CR LF goes as one line feed.
int PrinterBytes(const std::string& text) {
  int bytes = static_cast<int>(text.size());
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    --bytes;
  return bytes;
}

// The second printed line of the third line is centred on its own length,
// with at most `most` blanks. Its blanks follow the break, inside the
// styles, so an expanded blank takes two places.
std::string CentreSecondLine(const std::string& text, bool expanded, int most) {
  size_t lineBreak = text.find("\r\n");
  if (lineBreak == std::string::npos) return text;
  int n = static_cast<int>(text.size() - lineBreak - 2);
  int spaces = expanded ? (kClicheLineWidth - 2 * n) / 4 : (kClicheLineWidth - n) / 2;
  spaces = std::min(spaces, most);
  std::string centred = text;
  if (spaces > 0) centred.insert(lineBreak + 2, static_cast<size_t>(spaces), ' ');
  return centred;
}

std::string BuildLine(const ClicheLine& line, bool centred, bool last) {
  std::string on, off;
  int escapeBytes = 0;
  for (const Style& style : kStyles) {
    if (!(line.*style.ticked)) continue;
    on += style.on;
    off += style.off;
    escapeBytes += style.printerBytes;
  }
  // Every line, the third too, keeps what fits one printed line with its
  // escape bytes; a break in the third line counts among its characters.
  int room = kClicheLineWidth - 2 * escapeBytes;
  std::string text = line.text.substr(0, static_cast<size_t>(std::max(room, 0)));
  // A break cut in half would reach the printer as a lone CR.
  if (!text.empty() && text.back() == '\r') text.pop_back();
  std::string lead;
  if (centred) {
    lead.assign(static_cast<size_t>(std::max(LeadingSpaces(text, line.expanded, last), 0)), ' ');
    if (last) {
      const int used = static_cast<int>(lead.size()) + PrinterBytes(text) + 2 * escapeBytes + 1;
      text = CentreSecondLine(text, line.expanded, kLineShare - used);
    }
  }
  return lead + on + text + off + "\r\n";
}

}  // namespace

std::string BuildClicheText(const ClicheAnswer& answer) {
  std::string result;
  for (size_t i = 0; i < answer.lines.size(); ++i)
    result += BuildLine(answer.lines[i], answer.centred, i + 1 == answer.lines.size());
  return result;
}

}  // namespace taloven
