#pragma once

#include <string>

namespace taloven {

// What to do about a serial device the system would not open, in one text
// that starts with the system's reason: for a permission refused, the
// device's group, whether the user is in it and how to join it; for a
// device in use, the program that holds it and its process id when the
// system tells (the holder's lock file, or its open descriptors). Other
// failures are the system's reason alone.
std::string ExplainOpenFailure(const std::string& device, int error);

}  // namespace taloven
