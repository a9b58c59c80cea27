#pragma once

#include "app/app_settings.h"

namespace taloven {

class Ui;
class PortFactory;
class Clock;

// Finds the printer's port and model at start-up and records them in the
// settings (portName, modelName, modelMask, possibly extendedReturn). When no
// printer is found the model stays unknown (modelMask 0xFFFF).
void DetectModel(AppSettings& settings, Ui& ui, PortFactory& ports, Clock& clock);

}  // namespace taloven
