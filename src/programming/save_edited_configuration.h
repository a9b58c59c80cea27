#pragma once

#include <string>

#include "programming/equipment_configuration.h"
#include "ui/ui.h"

namespace taloven {

enum class EditedSaveOutcome {
  Declined,  // the user did not want the changes saved
  NoSerial,  // the serial number is blank
  Saved,     // added or replaced, and the file written
  NotSaved,  // the user kept the old record, or the file could not be written
};

// After the programming pages: asks whether to save, then adds the record
// (serial number without blanks, password never stored) to the file in the
// working directory, asking before it replaces a record of the same serial.
EditedSaveOutcome SaveEditedConfiguration(EquipmentConfiguration& record,
                                          const std::string& workingDirectory, Ui& ui);

}  // namespace taloven
