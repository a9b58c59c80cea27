#pragma once

#include "catalogue/command_record.h"

namespace taloven {

// Sends a record to the printer and fills in its reply. The command dialog
// lives with the records it edits, below the floor that owns the ports;
// command execution hands it an implementation.
class CommandSender {
 public:
  // What Send returns when the exchange completed, whatever the printer's
  // status says; anything else is a negative result code of execution.
  static constexpr int kCompleted = 0;

  virtual ~CommandSender() = default;
  virtual int Send(CommandRecord& record) = 0;
};

}  // namespace taloven
