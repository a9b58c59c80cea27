#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/command_record.h"

namespace taloven {

// A named list of catalogue commands whose parameter values were filled in
// when it was put together. A value: every copy owns its own records, so a
// run never touches the sequence it was copied from.
struct CommandSequence {
  CommandSequence() = default;
  CommandSequence(const CommandSequence&) = default;
  CommandSequence& operator=(const CommandSequence&) = default;
  // Moving hands the records over instead of copying each one's frame.
  CommandSequence(CommandSequence&&) noexcept = default;
  CommandSequence& operator=(CommandSequence&&) noexcept = default;
  virtual ~CommandSequence() = default;

  uint8_t stepByStep = 0;        // 1: ask before going on after each command
  int32_t waitMilliseconds = 0;  // pause after each command
  std::string name;
  int32_t commandCount = 0;  // always commands.size()
  std::string dumpText;      // what a run gathers from its commands' dumps
  std::string messageText;   // what a run gathers from their results
  std::vector<CommandRecord> commands;

  // Inserts a copy before entry `position` (0 to the count), or at the end
  // for -1. False, and nothing inserted, for any other position.
  bool InsertCommand(const CommandRecord& record, int position = -1);
  bool InsertCommand(CommandRecord&& record, int position = -1);
  // Removes the entry at `position`; the later ones move up. False when there
  // is no such entry.
  bool RemoveCommand(int position);
  void ClearCommands();
};

}  // namespace taloven
