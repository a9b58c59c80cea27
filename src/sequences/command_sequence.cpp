#include "sequences/command_sequence.h"

#include <utility>

namespace taloven {

bool CommandSequence::InsertCommand(const CommandRecord& record, int position) {
  return InsertCommand(CommandRecord(record), position);
}

bool CommandSequence::InsertCommand(CommandRecord&& record, int position) {
  const int count = static_cast<int>(commands.size());
  if (position == -1) position = count;
  if (position < 0 || position > count) return false;
  commands.insert(commands.begin() + position, std::move(record));
  commandCount = static_cast<int32_t>(commands.size());
  return true;
}

bool CommandSequence::RemoveCommand(int position) {
  if (position < 0 || position >= static_cast<int>(commands.size())) return false;
  commands.erase(commands.begin() + position);
  commandCount = static_cast<int32_t>(commands.size());
  return true;
}

void CommandSequence::ClearCommands() {
  commands.clear();
  commandCount = 0;
}

}  // namespace taloven
