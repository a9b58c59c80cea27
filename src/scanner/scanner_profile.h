#pragma once

#include "scanner/scanner_settings.h"
#include "ui/ui.h"

namespace taloven {

// The scanner settings from the program's profile; an unreadable profile is
// reported and the defaults are used.
ScannerSettings LoadScannerSettings(Ui& ui, ScannerDefaults defaults);
// Stores them, keeping the rest of the profile; false (reported) when the
// profile could not be written.
bool SaveScannerSettings(Ui& ui, const ScannerSettings& settings);

}  // namespace taloven
