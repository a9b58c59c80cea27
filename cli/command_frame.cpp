#include "base/encoding.h"
#include "cli_command.h"
#include "link/dump_text.h"
#include "link/frame_builder.h"
#include "link_command_support.h"

namespace taloven {

int RunFrameCommand(CommandContext& context) {
  if (context.arguments.empty()) return context.UsageError(W("falta o comando (CMD)"));
  CommandCatalogue catalogue;
  if (!context.LoadCatalogue(catalogue)) return 1;
  CommandRecord record;
  if (!FindCatalogueCommand(context, catalogue, context.arguments[0], &record)) return 1;
  if (!AssignParameterValues(context, {context.arguments.begin() + 1, context.arguments.end()},
                             &record))
    return 1;
  const int result = BuildCommandFrame(record, context.settings.extendedReturn != 0);
  if (result != 0) return PrintResults(context, record.formattedReturn, result);
  std::string hex;
  for (uint8_t byte : record.frame) AppendDumpByte(hex, byte);
  return PrintResults(context, hex.substr(1), 0);
}

}  // namespace taloven
