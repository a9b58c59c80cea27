#pragma once

#include <string>
#include <vector>

#include "catalogue/command_record.h"
#include "ui/app_settings.h"

namespace taloven {

class Ui;
class PortFactory;
class Clock;

// Finds the printer's port and model at start-up and records them in the
// settings (portName, modelName, modelMask, possibly extendedReturn). A port
// already named in the settings (given on the command line) is probed first;
// then "USB", "COM1:" to "COM8:" and the USB-serial adapters present. When
// none answers, the port given stays ("COM1:" when none was given) and the
// model stays unknown (modelMask 0xFFFF). True when a port answered.
bool DetectModel(AppSettings& settings, Ui& ui, PortFactory& ports, Clock& clock);

// The same with the adapters to probe after "COM8:" given.
bool DetectModel(AppSettings& settings, Ui& ui, PortFactory& ports, Clock& clock,
                 const std::vector<std::string>& adapters);

// The command that asks the printer who it is.
CommandRecord BrandModelAndTypeRecord();

// The probe sent to each port: ESC 35 20 in a frame.
inline const std::vector<uint8_t> kDetectionProbe = {0x02, 0x05, 0x00, 0x1B,
                                                     0x23, 0x14, 0x52, 0x00};

}  // namespace taloven
