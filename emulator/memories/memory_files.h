#pragma once

#include <string>

#include "base/status.h"
#include "printer/printer_state.h"

namespace taloven::emulator {

// The journal and the fiscal memory live beside the state file, in
// STATE.journal and STATE.fiscal, in the layout they are downloaded in. Both
// only grow, so a save appends what is new instead of rewriting megabytes
// after every command.
std::string JournalFilePath(const std::string& statePath);
std::string FiscalMemoryFilePath(const std::string& statePath);

// Missing files leave the memories empty. The owner number resumes from the
// journal's last record.
Status LoadMemoryFiles(const std::string& statePath, PrinterState& state);
// An append that fails is cut back, so a file never ends in half a record.
Status SaveMemoryFiles(const std::string& statePath, const PrinterState& state);

}  // namespace taloven::emulator
