#include "cli_command.h"

namespace taloven {

// A new command: its file cli/command_<name>.cpp defines the function, and it
// gets one declaration and one table line here, both in alphabetical order.
int RunListCommand(CommandContext& context);

const std::vector<CliCommand>& CommandTable() {
  static const std::vector<CliCommand> table = {
      {"list", "", "lista os comandos do catálogo: índice, grupo, título e escape", RunListCommand},
  };
  return table;
}

}  // namespace taloven
