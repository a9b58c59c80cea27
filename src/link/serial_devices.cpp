#include "link/serial_devices.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace taloven {
namespace {

namespace fs = std::filesystem;

constexpr char kDevices[] = "/dev";

}  // namespace

std::vector<SerialDevice> ListSerialDevices(const std::string& devRoot) {
  std::vector<SerialDevice> devices;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(devRoot, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0)
      devices.push_back({entry.path().string(), {}});
  }
  std::sort(devices.begin(), devices.end(),
            [](const SerialDevice& a, const SerialDevice& b) { return a.path < b.path; });
  // Several links may lead to one adapter (one per interface); the first by
  // name is taken, so that the choice does not change from one run to the
  // next.
  std::vector<fs::path> links;
  for (const auto& entry : fs::directory_iterator(fs::path(devRoot) / "serial" / "by-id", error))
    links.push_back(entry.path());
  std::sort(links.begin(), links.end());
  for (const fs::path& link : links) {
    std::error_code broken;
    const fs::path target = fs::canonical(link, broken);
    if (broken) continue;
    for (SerialDevice& device : devices) {
      std::error_code gone;
      if (device.stableName.empty() && fs::canonical(device.path, gone) == target && !gone)
        device.stableName = link.string();
    }
  }
  return devices;
}

std::vector<PortLine> SerialDeviceLines(const std::vector<SerialDevice>& devices) {
  // An em dash in Windows-1252.
  const std::string between = " \x97 ";
  std::vector<PortLine> lines;
  for (const SerialDevice& device : devices) {
    if (device.stableName.empty()) {
      lines.emplace_back(device.path, device.path);
      continue;
    }
    lines.emplace_back(device.path + between + device.stableName, device.path);
    lines.emplace_back(device.stableName + between + device.path, device.stableName);
  }
  return lines;
}

std::vector<PortLine> PresentSerialDevices() {
  return SerialDeviceLines(ListSerialDevices(kDevices));
}

std::vector<std::string> SerialDevicesToProbe() {
  std::vector<std::string> names;
  for (const SerialDevice& device : ListSerialDevices(kDevices))
    names.push_back(device.stableName.empty() ? device.path : device.stableName);
  return names;
}

}  // namespace taloven
