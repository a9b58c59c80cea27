#pragma once

#include <string>

#include "catalogue/command_record.h"

namespace taloven {

class Ui;

// False for the types whose catalogue value is sent as it stands.
bool IsEditableParameter(const CommandParameter& parameter);

// Asks for one parameter's value through the dialogs its type calls for and
// returns the text to store, or "ERRO" (string 32782) / an empty text / the
// current value where the user cancelled, as each type says.
std::string CollectParameterValue(const CommandParameter& parameter, Ui& ui);

}  // namespace taloven
