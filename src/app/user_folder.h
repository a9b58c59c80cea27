#pragma once

#include <string>

namespace taloven {

// The folder the program works in when started from the desktop menu:
// "Taloven" in the user's home folder. Started from a terminal, the program
// keeps working in the current directory instead.
std::string UserFolderPath(const std::string& home);

// Makes folder on its first use, filled with copies of the sample files that
// came with the program (comandos.xml, and the help/ and usb/ folders when
// present). A folder that exists is used as it is: a technician's edited
// catalogue is never overwritten. The folder appears whole or not at all, so
// a start cut short leaves nothing half-copied behind. false, with the
// reason in error (Windows-1252), when the folder cannot be used.
bool PrepareUserFolder(const std::string& folder, const std::string& sampleDirectory,
                       std::string& error);

// For the desktop menu's start: prepares the user folder of $HOME from the
// program's sample files and makes it the current directory. false, with the
// reason in error, when that fails.
bool EnterUserFolder(std::string& error);

}  // namespace taloven
