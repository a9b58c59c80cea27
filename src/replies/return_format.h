#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogue/command_record.h"

namespace taloven {

// Judges a fixed-length reply and formats every return field into
// formattedReturn and the fields' values. Never reads past replyBytes.
int FormatReturnData(CommandRecord& record, bool extendedReturn);

// A command the printer answered without carrying it out.
struct RefusedCommand {
  std::string title;
  std::string status;  // its status texts, on one line
};

// The refusal the record's complete reply holds, if any (ReplyRefusal);
// a variable-length reply carries its status bytes right after the first.
std::optional<RefusedCommand> RecordRefusal(const CommandRecord& record, bool variableLength);

}  // namespace taloven
