#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli_command.h"
#include "replies/return_format.h"

namespace taloven {

// Finds CMD, a 0-based catalogue index or an exact command title, and copies
// its record; reports on err and gives false when there is none.
bool FindCatalogueCommand(const CommandContext& context, const CommandCatalogue& catalogue,
                          const std::string& typed, CommandRecord* record);

// What a parameter gets when fewer VALUEs than parameters are given.
enum class MissingValues { Empty, KeepCatalogue };

// Gives the VALUEs in order to the parameters the user fills (all but the
// fixed ones); a missing VALUE leaves an empty value, or the catalogue's.
// False, reported, when there are more VALUEs than such parameters.
bool AssignParameterValues(const CommandContext& context, const std::vector<std::string>& values,
                           CommandRecord* record, MissingValues missing = MissingValues::Empty);

// Reads hexadecimal byte pairs, with or without spaces between them.
bool ParseHexBytes(const std::vector<std::string>& pieces, std::vector<uint8_t>* bytes);

// The exit status of an execution or sequence run result: 0, or 2 to 6 for
// -2 to -6.
int ExitStatusFor(int result);

// The exit status when the daily log could not be written.
constexpr int kLogWriteFailedStatus = 8;
// The command ran to its end, but the printer refused something or damaged input was skipped.
constexpr int kFinishedWithFaultsStatus = 10;

// Prints a results text with a final line feed; the exit status for result,
// or 8, reported on err with the result, when the daily log failed.
int PrintResults(const CommandContext& context, const std::string& text, int result);

// Names on err every command the printer refused, with its status texts.
// The status: status itself when it is not 0 (a failure is never hidden),
// else 10 when something was refused, else 0.
int WithRefusals(const CommandContext& context, const std::vector<RefusedCommand>& refusals,
                 int status);

}  // namespace taloven
