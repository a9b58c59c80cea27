#pragma once

#include <string>
#include <vector>

#include "link/serial_devices.h"
#include "ui/app_settings.h"

namespace taloven {

// What the settings dialog shows and hands back: copies, so that nothing
// changes before OK.
struct SettingsChoice {
  std::string portName;
  std::string modelName;
  bool filterByModel = false;
  bool showResults = true;
  bool extendedReturn = false;
  bool traceBytes = false;
};

SettingsChoice ChoiceFromSettings(const AppSettings& settings);

// The port names the dialog offers, sorted: "USB", "COM1:" to "COM8:",
// "FILE" and the given serial devices present on the machine.
std::vector<PortLine> OfferedPortNames(const std::vector<PortLine>& presentDevices,
                                       const std::string& named = {});

// A port name as typed: surrounding blanks dropped.
std::string TypedPortName(const std::string& typed);
// A model name as typed: padded with blanks to the 20 characters the
// printer returns, so that a listed name typed without them still matches;
// a blank field is no name.
std::string TypedModelName(const std::string& typed);

// The main window's way: all five values, the mask recomputed from the
// model name (0xFFFF for a name the list does not hold).
void ApplyAllSettings(const SettingsChoice& choice, AppSettings& settings);
// The sequences window's way: the port, showResults, extendedReturn and
// traceBytes only. The trace starts or stops at once, for every port opened
// from then on.
void ApplyLinkSettings(const SettingsChoice& choice, AppSettings& settings);

}  // namespace taloven
