#include "link/reply_decoder.h"

#include <algorithm>

#include "link/execute.h"
#include "link/frame_builder.h"
#include "link/reply_results.h"
#include "replies/return_format.h"
#include "resources/strings.h"

namespace taloven {
namespace {}

int DecodeReply(CommandRecord& record, const std::vector<uint8_t>& reply, bool extendedReturn) {
  record.formattedReturn += ResultsHeader(record.title);
  // A reply size no printer sends is refused as Execute refuses it.
  if (record.returnSize > kMaxReturnSize) return BuildCommandFrame(record, extendedReturn);
  // The frame only tells whether the reply ends with ETX; a frame the values
  // do not make leaves that to the return size.
  CommandRecord sent = record;
  BuildCommandFrame(sent, extendedReturn);
  const bool variable = IsVariableLengthReply(sent);
  record.replyLength = extendedReturn ? kExtendedHeaderCount : kHeaderCount;

  if (!variable) {
    const size_t expected = static_cast<size_t>(record.returnSize) + record.replyLength;
    record.replyBytes.assign(expected, 0);
    std::copy_n(reply.begin(), std::min(expected, reply.size()), record.replyBytes.begin());
    if (reply.size() < expected) {
      record.formattedReturn += Str(StrId::kSendFailed);
      return kExecuteNoReply;
    }
    FormatReturnData(record, extendedReturn);
    return kExecuteOk;
  }

  record.replyBytes.assign(static_cast<size_t>(record.replyLength), 0);
  VariableReplyParser parser(record);
  for (uint8_t byte : reply) {
    if (parser.Take(byte)) {
      FormatVariableReply(record, parser.Text(), extendedReturn);
      return kExecuteOk;
    }
  }
  if (!parser.HeaderComplete()) {
    record.formattedReturn += Str(StrId::kSendFailed);
    return kExecuteNoReply;
  }
  return kDecodeUnfinished;
}

}  // namespace taloven
