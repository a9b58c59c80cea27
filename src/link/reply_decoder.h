#pragma once

#include <cstdint>
#include <vector>

#include "catalogue/command_record.h"

namespace taloven {

// A variable-length reply given whole but without its ETX: Execute would
// still be waiting for the rest.
constexpr int kDecodeUnfinished = 1;

// Leaves in the record what Execute would have left had the printer sent
// exactly these bytes: replyBytes, formattedReturn and the return fields'
// values. Returns Execute's result (0, or -4 when too few bytes came) or
// kDecodeUnfinished. Bytes after the reply's end are ignored, as the line
// would leave them unread. The record's parameter values only matter for the
// one command whose mode byte makes its reply variable.
int DecodeReply(CommandRecord& record, const std::vector<uint8_t>& reply, bool extendedReturn);

}  // namespace taloven
