#include <unistd.h>

#include <iostream>

#include "base/encoding.h"
#include "catalogue/parameter_entry.h"
#include "cli_command.h"
#include "interrupt_cancel.h"
#include "link/clock.h"
#include "link/execute.h"
#include "link_command_support.h"
#include "resources/strings.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

// Someone is there to answer: the program's own input is a terminal, not a
// pipe or a file.
bool AnswersFromTerminal(const CommandContext& context) {
  return &context.in == &std::cin && ::isatty(STDIN_FILENO) == 1;
}

// Asks every editable parameter through the same entry chains as the command
// dialog. A cancelled one ends it: there is no row left to correct here, so
// nothing is sent rather than the cancel text.
bool AskParameterValues(const CommandContext& context, CommandRecord* record) {
  context.err << context.Out(record->title) << '\n' << std::flush;
  for (CommandParameter& parameter : record->parameters) {
    if (!IsEditableParameter(parameter)) continue;
    std::string value = CollectParameterValue(parameter, context.ui);
    if (value == Str(StrId::kError)) {
      context.Fail(W("entrada de \"") + parameter.title + W("\" cancelada; nada foi enviado"));
      return false;
    }
    parameter.value = std::move(value);
  }
  return true;
}

}  // namespace

int RunSendCommand(CommandContext& context) {
  if (context.arguments.empty()) return context.UsageError(W("falta o comando (CMD)"));
  CommandCatalogue catalogue;
  if (!context.LoadCatalogue(catalogue)) return 1;
  CommandRecord record;
  if (!FindCatalogueCommand(context, catalogue, context.arguments[0], &record)) return 1;
  if (context.arguments.size() == 1 && AnswersFromTerminal(context)) {
    if (!AskParameterValues(context, &record)) return 1;
  } else if (!AssignParameterValues(
                 context, {context.arguments.begin() + 1, context.arguments.end()}, &record)) {
    return 1;
  }
  DefaultPortFactory ports;
  std::vector<RefusedCommand> refusals;
  ExecutionContext execution{context.settings,          context.ui, ports, RealClock(),
                             context.options.timeoutMs, &refusals};
  int result = kExecuteOk;
  {
    InterruptCancel interrupts;
    result = Execute(record, execution);
  }
  return WithRefusals(context, refusals, PrintResults(context, record.formattedReturn, result));
}

}  // namespace taloven
