#include <cstdio>

#include "app/model_detection.h"
#include "base/encoding.h"
#include "cli_command.h"
#include "link/clock.h"
#include "link/execute.h"
#include "link_command_support.h"
#include "usb/default_port_factory.h"

namespace taloven {

int RunDetectCommand(CommandContext& context) {
  std::string probe;
  const auto& args = context.arguments;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--probe") {
      if (i + 1 >= args.size()) return context.UsageError(W("--probe precisa do nome da porta"));
      probe = args[++i];
    } else {
      return context.UsageError(W("argumento desconhecido: ") + context.ToCore(args[i]));
    }
  }
  // Detection starts from the port to probe first, not from -p.
  context.settings.portName = probe;
  DefaultPortFactory ports;
  if (!DetectModel(context.settings, context.ui, ports, RealClock())) {
    // The GUI falls back to COM1: and carries on; a script needs to know.
    context.err << context.Out(W("Não foi possível efetuar a conexão")) << '\n';
    return ExitStatusFor(kExecuteNoReply);
  }
  char mask[16];
  std::snprintf(mask, sizeof mask, "0x%04X", static_cast<unsigned>(context.settings.modelMask));
  context.out << context.Out(context.settings.portName) << '\n'
              << context.Out(context.settings.modelName) << '\n'
              << mask << '\n';
  context.out.flush();
  if (!context.ui.LogFailure().empty()) {
    context.Fail(context.ui.LogFailure());
    return kLogWriteFailedStatus;
  }
  return context.out ? 0 : 1;
}

}  // namespace taloven
