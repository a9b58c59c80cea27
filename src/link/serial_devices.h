#pragma once

#include <string>
#include <utility>
#include <vector>

namespace taloven {

// A USB-serial adapter (ttyUSB*, ttyACM*) and the stable name the system
// gives it under serial/by-id/, which stays when it is plugged in again.
struct SerialDevice {
  std::string path;
  std::string stableName;  // empty when the system gives none
};

// The adapters under devRoot ("/dev" on a running system), sorted by path.
std::vector<SerialDevice> ListSerialDevices(const std::string& devRoot);

// A line of a port list: the text it shows, and the port name it stands for.
using PortLine = std::pair<std::string, std::string>;

// The lines a port list offers for the adapters given, in their order: a
// device with a stable name gives two lines side by side, "DEVICE — STABLE"
// standing for the device and "STABLE — DEVICE" for the stable name, so that
// either is chosen with the other in sight.
std::vector<PortLine> SerialDeviceLines(const std::vector<SerialDevice>& devices);
// The lines for the adapters present.
std::vector<PortLine> PresentSerialDevices();

// One name per adapter present, for probing: the stable one when there is
// one, so that the port found keeps its name across a re-plug.
std::vector<std::string> SerialDevicesToProbe();

}  // namespace taloven
