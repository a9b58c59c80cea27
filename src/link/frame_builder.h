#pragma once

#include <cstdint>

#include "catalogue/command_record.h"

namespace taloven {

constexpr uint8_t kStartByte = 0x1B;          // ESC
constexpr uint8_t kExtendedStartByte = 0x1C;  // asks for the extended return code
constexpr int kHeaderCount = 3;               // ACK, ST1, ST2
constexpr int kExtendedHeaderCount = 5;       // and the two extended-error bytes

// Larger replies than this are a catalogue fault, not a printer's answer.
constexpr int32_t kMaxReturnSize = 1 << 20;

// Rebuilds the record's frame from its command bytes and parameter values and
// sets replyLength to the reply's header count. Returns 0, or -2 / -3 with
// the reason appended to formattedReturn; no frame is left to send then. A
// return size beyond kMaxReturnSize is refused as well.
int BuildCommandFrame(CommandRecord& record, bool extendedReturn);

// Whether the reply to the record's (built) frame ends with ETX instead of
// having the catalogue's fixed size.
bool IsVariableLengthReply(const CommandRecord& record);

}  // namespace taloven
