#include "base/encoding.h"
#include "cli_command.h"

namespace taloven {
namespace {

// A field holding a tab or a line end would break the one-line-per-command,
// tab-separated shape that scripts read.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

}  // namespace

int RunListCommand(CommandContext& context) {
  if (!context.arguments.empty())
    return context.UsageError(W("argumento a mais: ") + context.ToCore(context.arguments[0]));
  CommandCatalogue catalogue;
  if (!context.LoadCatalogue(catalogue)) return 1;
  for (int k = 0; k < catalogue.Count(); ++k) {
    const CommandRecord& record = catalogue.At(k);
    context.out << k << '\t' << context.Out(OneLine(record.group)) << '\t'
                << context.Out(OneLine(record.title)) << '\t'
                << context.Out(OneLine(record.escapeText)) << '\n';
  }
  context.out.flush();
  return context.out ? 0 : 1;
}

}  // namespace taloven
