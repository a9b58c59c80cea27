#pragma once

#include <vector>

#include "link/execute.h"
#include "programming/equipment_configuration.h"
#include "sequences/command_sequence.h"
#include "ui/app_settings.h"
#include "ui/message_ui.h"

namespace taloven {

// "Programa maquina": the commands that put configuration into the printer,
// in the order they are sent, for the model in settings. A password that is
// not exactly 20 characters long is not put in, and a text of blanks only is
// put in empty, so that CheckProgrammingRun finds them; only IM and UF, which
// a first-generation reading leaves empty, go as blanks.
CommandSequence BuildProgrammingSequence(const EquipmentConfiguration& configuration,
                                         const AppSettings& settings);

// What is programmed stays in the printer's fiscal memory for good, so the
// run goes out whole or not at all. Tells the user once why it cannot go (a
// password of the wrong length, the first mandatory field left empty or the
// first value that cannot be encoded, named) and returns the result the run
// would have stopped with; kExecuteOk when every command can be sent.
int CheckProgrammingRun(const EquipmentConfiguration& configuration,
                        const CommandSequence& sequence, const AppSettings& settings,
                        MessageUi& ui);

struct ProgrammingResults {
  int result = 0;    // of the check, or of the run as RunSequence gives it
  bool ran = false;  // false when the check stopped it: nothing was sent
  std::string message;
  std::string dump;
};

// Builds the run for configuration, checks it and only then runs it under
// the wait window; the message ends with the reason when the run stopped
// early. Refusals by the
// printer do not stop it: they show in the message.
ProgrammingResults ProgramPrinter(const EquipmentConfiguration& configuration,
                                  ExecutionContext& context);

}  // namespace taloven
