#include "cli_command.h"
#include "link/clock.h"
#include "link/default_port_factory.h"
#include "link/execute.h"
#include "link_command_support.h"
#include "resources/encoding.h"

namespace taloven {

int RunSendCommand(CommandContext& context) {
  if (context.arguments.empty()) return context.UsageError(W("falta o comando (CMD)"));
  CommandCatalogue catalogue;
  if (!context.LoadCatalogue(catalogue)) return 1;
  CommandRecord record;
  if (!FindCatalogueCommand(context, catalogue, context.arguments[0], &record)) return 1;
  if (!AssignParameterValues(context, {context.arguments.begin() + 1, context.arguments.end()},
                             &record))
    return 1;
  DefaultPortFactory ports;
  ExecutionContext execution{context.settings, context.ui, ports, RealClock()};
  const int result = Execute(record, execution);
  return PrintResults(context, record.formattedReturn, result);
}

}  // namespace taloven
