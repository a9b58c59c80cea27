#pragma once

#include <string>
#include <vector>

namespace taloven {

// Starts a program (looked up on PATH) in the given directory without
// waiting for it: 0 when it started, else the errno of the failed start.
int StartProgram(const std::vector<std::string>& arguments, const std::string& directory);

// Whether a graphical desktop session is there to ask for a password.
bool DesktopSession();

}  // namespace taloven
