#pragma once

#include <vector>

#include "link/execute.h"
#include "programming/equipment_configuration.h"
#include "sequences/command_sequence.h"
#include "ui/app_settings.h"
#include "ui/ui.h"

namespace taloven {

// "Programa maquina": the commands that put configuration into the printer,
// in the order they are sent, for the model in settings. A password that is
// not exactly 20 hexadecimal digits is not sent: the user is told, and the
// owner command goes with an empty password, which execution refuses before
// anything reaches the printer.
CommandSequence BuildProgrammingSequence(const EquipmentConfiguration& configuration,
                                         const AppSettings& settings, Ui& ui);

struct ProgrammingResults {
  int result = 0;  // of the run, as RunSequence gives it
  std::string message;
  std::string dump;
};

// Runs the sequence; the message ends with the reason when the run stopped
// early. Refusals by the printer do not stop it: they show in the message.
ProgrammingResults RunProgramming(CommandSequence& sequence, ExecutionContext& context);

}  // namespace taloven
