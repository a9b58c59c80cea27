#include "link/serial_devices.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace taloven {

std::vector<std::string> PresentSerialDevices() {
  std::vector<std::string> devices;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev", error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0)
      devices.push_back(entry.path().string());
  }
  std::sort(devices.begin(), devices.end());
  return devices;
}

}  // namespace taloven
