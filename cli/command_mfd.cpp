#include "base/encoding.h"
#include "cli_command.h"

namespace taloven {

int RunMfdDiagnoseCommand(CommandContext& context);

int RunMfdCommand(CommandContext& context) {
  if (context.arguments.empty()) return context.UsageError(W("falta o subcomando"));
  const std::string subcommand = context.arguments.front();
  context.arguments.erase(context.arguments.begin());
  if (subcommand == "diagnose") return RunMfdDiagnoseCommand(context);
  return context.UsageError(W("subcomando desconhecido: ") + context.ToCore(subcommand));
}

}  // namespace taloven
