#pragma once

#include <string>
#include <vector>

namespace taloven {

// The USB-serial adapters present on the machine (/dev/ttyUSB*, /dev/ttyACM*),
// sorted by name.
std::vector<std::string> PresentSerialDevices();

}  // namespace taloven
