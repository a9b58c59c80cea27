#pragma once

#include <cstdint>
#include <string>

#include "catalogue/command_record.h"

namespace taloven {

// "\r\nComando:\t<title>\r\n", the line that opens every command's results.
std::string ResultsHeader(const std::string& title);

// Splits a variable-length reply as it arrives: the header bytes go to the
// record's replyBytes (sized to the header count beforehand), the text that
// follows is translated from the printer's table, up to the ETX.
class VariableReplyParser {
 public:
  explicit VariableReplyParser(CommandRecord& record) : record_(record) {}
  // True when the byte was the ETX that ends the reply.
  bool Take(uint8_t byte);
  bool HeaderComplete() const { return received_ >= record_.replyBytes.size(); }
  const std::string& Text() const { return text_; }

 private:
  CommandRecord& record_;
  size_t received_ = 0;
  std::string text_;
};

// The results of a variable-length reply replace formattedReturn: the
// status texts, the extended code's text, then the reply text with CR LF
// line ends and without NUL characters.
void FormatVariableReply(CommandRecord& record, const std::string& text, bool extendedReturn);

}  // namespace taloven
