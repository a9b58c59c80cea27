#include "base/encoding.h"
#include "cli_command.h"
#include "link/reply_decoder.h"
#include "link_command_support.h"

namespace taloven {

int RunDecodeCommand(CommandContext& context) {
  if (context.arguments.empty()) return context.UsageError(W("falta o comando (CMD)"));
  if (context.arguments.size() < 2) return context.UsageError(W("faltam os bytes da resposta"));
  std::vector<uint8_t> reply;
  if (!ParseHexBytes({context.arguments.begin() + 1, context.arguments.end()}, &reply))
    return context.UsageError(W("bytes inválidos: dê pares hexadecimais, como 06 00 00"));
  CommandCatalogue catalogue;
  if (!context.LoadCatalogue(catalogue)) return 1;
  CommandRecord record;
  if (!FindCatalogueCommand(context, catalogue, context.arguments[0], &record)) return 1;
  const int result = DecodeReply(record, reply, context.settings.extendedReturn != 0);
  if (result == kDecodeUnfinished)
    return context.Fail(W("a resposta de tamanho variável não termina com ETX (03)"));
  return PrintResults(context, record.formattedReturn, result);
}

}  // namespace taloven
