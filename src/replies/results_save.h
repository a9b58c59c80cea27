#pragma once

#include <optional>
#include <string>

#include "ui/ui.h"

namespace taloven {

// What a saved results file holds: 1 the message, 2 the hex dump, 3 both.
std::string ResultsFileText(int choice, const std::string& message, const std::string& dump);

// The "Salvar" flow of the results window: asks for a file and for what to
// put in it, writes it whole with text-mode line ends and opens it with the
// desktop. A file that cannot be written is reported and not opened.
// Returns the saved path (Windows-1252, as the Ui gave it) or nothing.
std::optional<std::string> SaveResults(Ui& ui, const std::string& message, const std::string& dump);

}  // namespace taloven
