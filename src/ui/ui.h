#pragma once

#include "ui/entry_ui.h"
#include "ui/file_ui.h"
#include "ui/message_ui.h"
#include "ui/wait_ui.h"
#include "ui/window_ui.h"

namespace taloven {

// Everything the logic shows to or asks of the user goes through this seam.
// The GUI answers with Qt windows, the CLI on the terminal, the tests from a
// script. Every text crossing it is Windows-1252. Code that needs one role
// only may take that role; the programs hand over the whole.
class Ui : public MessageUi, public EntryUi, public WaitUi, public FileUi, public WindowUi {};

}  // namespace taloven
