#include "link_command_support.h"

#include "base/encoding.h"
#include "catalogue/parameter_entry.h"

namespace taloven {

bool FindCatalogueCommand(const CommandContext& context, const CommandCatalogue& catalogue,
                          const std::string& typed, CommandRecord* record) {
  const bool isIndex = !typed.empty() && typed.size() <= 9 &&
                       typed.find_first_not_of("0123456789") == std::string::npos;
  if (isIndex) {
    const int index = std::stoi(typed);
    if (index < catalogue.Count()) {
      *record = catalogue.At(index);
      return true;
    }
    context.Fail(W("não há comando de índice ") + typed + W(" no catálogo (") +
                 std::to_string(catalogue.Count()) + W(" comandos)"));
    return false;
  }
  const std::string title = context.ToCore(typed);
  for (const CommandRecord& candidate : catalogue.Records()) {
    if (candidate.title == title) {
      *record = candidate;
      return true;
    }
  }
  context.Fail(W("não há comando com o título \"") + title + W("\" no catálogo"));
  return false;
}

bool AssignParameterValues(const CommandContext& context, const std::vector<std::string>& values,
                           CommandRecord* record, MissingValues missing) {
  size_t next = 0;
  for (CommandParameter& parameter : record->parameters) {
    if (!IsEditableParameter(parameter)) continue;
    if (next < values.size()) {
      parameter.value = context.ToCore(values[next]);
    } else if (missing == MissingValues::Empty) {
      parameter.value.clear();
    }
    ++next;
  }
  if (values.size() <= next) return true;
  context.UsageError(W("valores a mais: o comando tem ") + std::to_string(next) +
                     W(" parâmetros editáveis e foram dados ") + std::to_string(values.size()));
  return false;
}

bool ParseHexBytes(const std::vector<std::string>& pieces, std::vector<uint8_t>* bytes) {
  std::string digits;
  for (const std::string& piece : pieces)
    for (char c : piece)
      if (c != ' ') digits += c;
  if (digits.size() % 2 != 0) return false;
  auto value = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  for (size_t i = 0; i < digits.size(); i += 2) {
    const int high = value(digits[i]), low = value(digits[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes->push_back(static_cast<uint8_t>(high * 16 + low));
  }
  return true;
}

int ExitStatusFor(int result) {
  return result <= -2 && result >= -6 ? -result : (result == 0 ? 0 : 1);
}

int PrintResults(const CommandContext& context, const std::string& text, int result) {
  context.out << context.Out(text) << '\n' << std::flush;
  if (!context.ui.LogFailure().empty()) {
    // The status then says the log failed; the line keeps the printer's result.
    context.Fail(context.ui.LogFailure() + W(" (resultado do comando: ") + std::to_string(result) +
                 ")");
    return kLogWriteFailedStatus;
  }
  return context.out ? ExitStatusFor(result) : 1;
}

int WithRefusals(const CommandContext& context, const std::vector<RefusedCommand>& refusals,
                 int status) {
  for (const RefusedCommand& refused : refusals)
    context.err << context.Out(W("taloven-cli: a impressora recusou \"") + refused.title +
                               "\": " + refused.status)
                << '\n';
  context.err << std::flush;
  if (status != 0 || refusals.empty()) return status;
  return kFinishedWithFaultsStatus;
}

}  // namespace taloven
