#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace taloven {

// "COMANDO OK", or the texts of every set bit of ST1 then ST2, bit 7 first.
std::string StatusText(uint8_t status1, uint8_t status2);
// The text of the extended return code high * 256 + low ("" above 213).
std::string ExtendedErrorText(uint8_t low, uint8_t high);

// The verdict that opens the text of a fixed-length reply whose return data
// take dataSize bytes: "\r\n", then the status (and extended) texts for an
// ACK, the refusal text for a NAK, nothing for any other first byte. A reply
// shorter than its layout gets a note saying how many bytes came, and the
// texts of the bytes that are missing are left out.
std::string ReplyVerdict(const std::vector<uint8_t>& reply, size_t dataSize, bool extendedReturn);

// The status texts, on one line, of a reply that says the printer did not
// carry the command out: a NAK, or an ACK whose status bytes at statusAt set
// a bit that refuses. None for a command carried out, or a reply too short
// to say.
std::optional<std::string> ReplyRefusal(const std::vector<uint8_t>& reply, size_t statusAt);

}  // namespace taloven
