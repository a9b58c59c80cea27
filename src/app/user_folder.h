#pragma once

#include <string>

#include "base/status.h"

namespace taloven {

// The folder the program works in when started from the desktop menu:
// "Taloven" in the user's home folder. Started from a terminal, the program
// keeps working in the current directory instead.
std::string UserFolderPath(const std::string& home);

// Makes folder on its first use, filled with copies of the sample files that
// came with the program (comandos.xml, and the help/ and usb/ folders when
// present). A folder that exists is used as it is: a technician's edited
// catalogue is never overwritten. The folder appears whole or not at all, so
// a start cut short leaves nothing half-copied behind. Fails, with the
// reason, when the folder cannot be used.
Status PrepareUserFolder(const std::string& folder, const std::string& sampleDirectory);

// For the desktop menu's start: prepares the user folder of $HOME from the
// program's sample files and makes it the current directory. Fails, with
// the reason, when that fails.
Status EnterUserFolder();

}  // namespace taloven
