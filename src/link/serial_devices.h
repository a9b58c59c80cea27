#pragma once

#include <string>
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

// The names a port list offers for the adapters present: each one's stable
// name beside its device name.
std::vector<std::string> PresentSerialDevices();

// One name per adapter present, for probing: the stable one when there is
// one, so that the port found keeps its name across a re-plug.
std::vector<std::string> SerialDevicesToProbe();

}  // namespace taloven
