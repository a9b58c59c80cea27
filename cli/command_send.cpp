#include <unistd.h>

#include <iostream>

#include "catalogue/parameter_entry.h"
#include "cli_command.h"
#include "link/clock.h"
#include "link/default_port_factory.h"
#include "link/execute.h"
#include "link_command_support.h"
#include "resources/encoding.h"
#include "resources/strings.h"

namespace taloven {
namespace {

// Asked on a terminal, the values come through the same chains of entry
// dialogs the command window uses; a cancel sends nothing.
bool AskParameterValues(CommandContext& context, CommandRecord* record) {
  for (auto& parameter : record->parameters) {
    if (!IsEditableParameter(parameter)) continue;
    std::string value = CollectParameterValue(parameter, context.ui);
    if (value == Str(32782)) return false;
    parameter.value = value;
  }
  return true;
}

bool OnTerminal(const CommandContext& context) {
  return &context.in == &std::cin && isatty(STDIN_FILENO);
}

}  // namespace

int RunSendCommand(CommandContext& context) {
  if (context.arguments.empty()) return context.UsageError(W("falta o comando (CMD)"));
  CommandCatalogue catalogue;
  if (!context.LoadCatalogue(catalogue)) return 1;
  CommandRecord record;
  if (!FindCatalogueCommand(context, catalogue, context.arguments[0], &record)) return 1;
  if (context.arguments.size() == 1 && OnTerminal(context)) {
    if (!AskParameterValues(context, &record)) {
      context.err << context.Out(Str(32785)) << "\n";
      return ExitStatusFor(kExecuteCancelled);
    }
  } else if (!AssignParameterValues(
                 context, {context.arguments.begin() + 1, context.arguments.end()}, &record)) {
    return 1;
  }
  DefaultPortFactory ports;
  ExecutionContext execution{context.settings, context.ui, ports, RealClock()};
  const int result = Execute(record, execution);
  return PrintResults(context, record.formattedReturn, result);
}

}  // namespace taloven
