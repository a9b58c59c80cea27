#include "link/reply_results.h"

#include "base/printer_charset.h"
#include "replies/status_text.h"
#include "resources/strings.h"

namespace taloven {
namespace {
constexpr uint8_t kEtx = 0x03;
}  // namespace

std::string ResultsHeader(const std::string& title) {
  return "\r\n" + Str(StrId::kCommand) + ":\t" + title + "\r\n";
}

bool VariableReplyParser::Take(uint8_t byte) {
  if (!HeaderComplete()) {
    record_.replyBytes[received_++] = byte;
    return false;
  }
  if (byte == kEtx) return true;
  text_ += ReplyTextByte(byte);
  return false;
}

void FormatVariableReply(CommandRecord& record, const std::string& text, bool extendedReturn) {
  const std::vector<uint8_t>& header = record.replyBytes;
  auto at = [&](size_t i) -> uint8_t { return i < header.size() ? header[i] : 0; };
  record.formattedReturn.clear();
  record.formattedReturn += StatusText(at(1), at(2)) + "\r\n";
  if (extendedReturn) record.formattedReturn += ExtendedErrorText(at(3), at(4)) + "\r\n";
  for (char c : text) {
    if (c == '\0') continue;
    if (c == '\n') record.formattedReturn += '\r';
    record.formattedReturn += c;
  }
}

}  // namespace taloven
