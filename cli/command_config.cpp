#include <algorithm>

#include "base/encoding.h"
#include "cli_command.h"
#include "interrupt_cancel.h"
#include "link/clock.h"
#include "link/dump_text.h"
#include "link/execute.h"
#include "link/frame_builder.h"
#include "link_command_support.h"
#include "programming/configuration_file.h"
#include "programming/printer_configuration_read.h"
#include "programming/programming_commands.h"
#include "programming/save_edited_configuration.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

// "config read --save" runs the save rule unattended: both of its questions
// are answered Yes, everything else still reaches the terminal.
class YesToQuestions : public TerminalUi {
 public:
  using TerminalUi::TerminalUi;
  MessageAnswer Message(const std::string& text, const std::string& caption, MessageButtons buttons,
                        MessageIcon icon) override {
    if (buttons == MessageButtons::YesNo) return MessageAnswer::Yes;
    return TerminalUi::Message(text, caption, buttons, icon);
  }
};

std::string Path(const CommandContext& context) {
  return ConfigurationsPath(context.settings.workingDirectory);
}

// The stored records; a missing file is an empty list, an unreadable one is
// reported.
bool LoadList(const CommandContext& context, ConfigurationList& list) {
  const Result<RecordFile> loaded = LoadConfigurations(Path(context), list);
  if (loaded.ok()) return true;
  context.Fail(loaded.status().message());
  return false;
}

const EquipmentConfiguration* FindRecord(const CommandContext& context,
                                         const ConfigurationList& list, const std::string& serial) {
  auto found = std::find_if(list.begin(), list.end(), [&](const EquipmentConfiguration& c) {
    return c.serialNumber == serial;
  });
  if (found != list.end()) return &*found;
  context.Fail(W("não há configuração salva com o número de série \"") + serial + "\"");
  return nullptr;
}

void PrintFields(const CommandContext& context, EquipmentConfiguration configuration) {
  for (const ConfigurationField& field : StoredFields(configuration)) {
    std::string value = StoredValue(field);
    for (size_t at = value.find("\r\n"); at != std::string::npos; at = value.find("\r\n", at + 4))
      value.replace(at, 2, "\\r\\n");
    context.out << context.Out(field.element + "\t" + value) << '\n';
  }
  context.out << std::flush;
}

int List(CommandContext& context) {
  ConfigurationList list;
  if (!LoadList(context, list)) return 1;
  for (const EquipmentConfiguration& record : list)
    context.out << context.Out(record.serialNumber + "\t" + record.client) << '\n';
  context.out << std::flush;
  return 0;
}

int Show(CommandContext& context, const std::string& serial) {
  ConfigurationList list;
  if (!LoadList(context, list)) return 1;
  const EquipmentConfiguration* record = FindRecord(context, list, serial);
  if (!record) return 1;
  PrintFields(context, *record);
  return 0;
}

int Delete(CommandContext& context, const std::string& serial) {
  ConfigurationList list;
  if (!LoadList(context, list)) return 1;
  if (!FindRecord(context, list, serial)) return 1;
  std::erase_if(list, [&](const EquipmentConfiguration& c) { return c.serialNumber == serial; });
  if (const Status saved = SaveConfigurations(Path(context), list); !saved.ok())
    return context.Fail(W("registro não excluído: ") + saved.message());
  return 0;
}

int ReadPrinter(CommandContext& context, bool save) {
  if (!context.ResolveModel()) return 1;
  DefaultPortFactory ports;
  YesToQuestions ui(context.in, context.err, context.options.raw);
  // Ctrl-C and SIGTERM cancel the exchange under way; --timeout bounds each.
  InterruptCancel interrupts;
  std::vector<RefusedCommand> refusals;
  ExecutionContext execution{context.settings,          ui,       ports, RealClock(),
                             context.options.timeoutMs, &refusals};
  EquipmentConfiguration configuration;
  const int result = ReadPrinterConfiguration(configuration, execution);
  if (result != 0) return WithRefusals(context, refusals, ExitStatusFor(result));
  PrintFields(context, configuration);
  int status = 0;
  // What the printer refused to tell is no configuration to keep.
  if (save && !refusals.empty()) {
    context.Fail(W("configuração não salva: a impressora recusou leituras"));
  } else if (save) {
    const EditedSaveOutcome saved =
        SaveEditedConfiguration(configuration, context.settings.workingDirectory, ui);
    status = saved == EditedSaveOutcome::Saved ? 0 : 1;
  }
  return WithRefusals(context, refusals, status);
}

// Each command's frame, one line each, as "frame" prints it; nothing is
// sent. A command that cannot be built ends the list as it would end a run.
int PrintFrames(const CommandContext& context, std::vector<CommandRecord>& commands) {
  for (CommandRecord& record : commands) {
    const int result = BuildCommandFrame(record, context.settings.extendedReturn != 0);
    if (result != 0)
      return PrintResults(context, record.title + ": " + record.formattedReturn, result);
    std::string hex;
    for (uint8_t byte : record.frame) AppendDumpByte(hex, byte);
    context.out << hex.substr(1) << '\n';
  }
  context.out << std::flush;
  return 0;
}

int Program(CommandContext& context, const std::vector<std::string>& arguments) {
  std::string serial, password;
  bool dryRun = false, havePassword = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--dry-run") {
      dryRun = true;
    } else if (arguments[i] == "--password") {
      if (i + 1 >= arguments.size()) return context.UsageError(W("falta a senha de --password"));
      password = context.ToCore(arguments[++i]);
      havePassword = true;
    } else if (serial.empty() && arguments[i][0] != '-') {
      serial = context.ToCore(arguments[i]);
    } else {
      return context.UsageError(W("argumento inesperado: ") + context.ToCore(arguments[i]));
    }
  }
  if (serial.empty()) return context.UsageError(W("falta o número de série"));
  ConfigurationList list;
  if (!LoadList(context, list)) return 1;
  const EquipmentConfiguration* stored = FindRecord(context, list, serial);
  if (!stored) return 1;
  EquipmentConfiguration configuration = *stored;
  if (havePassword) configuration.password = password;
  if (!context.ResolveModel()) return 1;
  if (dryRun) {
    CommandSequence sequence = BuildProgrammingSequence(configuration, context.settings);
    const int checked = CheckProgrammingRun(configuration, sequence, context.settings, context.ui);
    if (checked != kExecuteOk) return ExitStatusFor(checked);
    return PrintFrames(context, sequence.commands);
  }
  DefaultPortFactory ports;
  // Ctrl-C and SIGTERM cancel the exchange under way; --timeout bounds each.
  InterruptCancel interrupts;
  std::vector<RefusedCommand> refusals;
  ExecutionContext execution{context.settings,          context.ui, ports, RealClock(),
                             context.options.timeoutMs, &refusals};
  const ProgrammingResults results = ProgramPrinter(configuration, execution);
  // Held back by the check: the user was told why, and nothing was sent.
  if (!results.ran) return ExitStatusFor(results.result);
  context.out << context.Out(results.message) << '\n' << std::flush;
  // Like "sequence run": 2 to 6 for the results -2 to -6, 10 when the
  // printer refused commands (out of intervention, say).
  return WithRefusals(context, refusals, ExitStatusFor(results.result));
}

}  // namespace

int RunConfigCommand(CommandContext& context) {
  const std::vector<std::string>& a = context.arguments;
  if (a.empty())
    return context.UsageError(W("falta a operação (list, show, read, program ou delete)"));
  const std::string& operation = a[0];
  const std::vector<std::string> rest(a.begin() + 1, a.end());
  if (operation == "list" && rest.empty()) return List(context);
  if (operation == "show" && rest.size() == 1) return Show(context, context.ToCore(rest[0]));
  if (operation == "delete" && rest.size() == 1) return Delete(context, context.ToCore(rest[0]));
  if (operation == "read" && (rest.empty() || (rest.size() == 1 && rest[0] == "--save")))
    return ReadPrinter(context, !rest.empty());
  if (operation == "program") return Program(context, rest);
  return context.UsageError(W("operação ou argumentos inválidos: ") + context.ToCore(operation));
}

}  // namespace taloven
