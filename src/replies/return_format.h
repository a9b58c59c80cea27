#pragma once

#include "catalogue/command_record.h"

namespace taloven {

// Judges a fixed-length reply and formats every return field into
// formattedReturn and the fields' values. Never reads past replyBytes.
int FormatReturnData(CommandRecord& record, bool extendedReturn);

}  // namespace taloven
