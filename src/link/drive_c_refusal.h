#pragma once

#include <string>

#include "link/drive_c.h"

namespace taloven {

// Why the file exchange's "C:\" directory was refused, in Windows-1252, with
// what the user can do about it; empty when it was not.
std::string DriveCRefusalText(const DriveC& drive);

}  // namespace taloven
