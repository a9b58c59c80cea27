#include <unistd.h>

#include <functional>
#include <iostream>
#include <optional>

#include "base/encoding.h"
#include "cli_command.h"
#include "interrupt_cancel.h"
#include "link/clock.h"
#include "link_command_support.h"
#include "resources/strings.h"
#include "sequences/sequence_name.h"
#include "sequences/sequence_runner.h"
#include "sequences/sequence_store.h"
#include "sequences/sequences_file.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

constexpr int kRepetitionsLimit = 99;
constexpr int kWaitLimit = 99;

// The run's own progress window, drawn as one line on a terminal's error
// stream; the windows of the single commands stay undrawn, as elsewhere.
class RunProgressLine : public ProgressView {
 public:
  RunProgressLine(std::ostream& err, const TerminalUi& ui) : err_(err), ui_(ui) {}
  ~RunProgressLine() override {
    Hide();
    if (onGone_) onGone_();
  }
  std::function<void()> onGone_;
  void SetCaption(const std::string& caption) override {
    err_ << '\r' << ui_.Out(caption) << "\x1b[K" << std::flush;
    drawn_ = true;
  }
  void Hide() override {
    if (drawn_) err_ << "\r\x1b[K" << std::flush;
    drawn_ = false;
  }
  ProgressEvents Pump() override {
    ProgressEvents events;
    events.cancelClicked = InterruptCancel::Requested();
    return events;
  }

 private:
  std::ostream& err_;
  const TerminalUi& ui_;
  bool drawn_ = false;
};

class RunUi : public TerminalUi {
 public:
  explicit RunUi(CommandContext& context)
      : TerminalUi(context.in, context.err, context.options.raw),
        err_(context.err),
        owner_(context.ui) {}
  // The command reports it, from its own Ui.
  void LogWriteFailed(const std::string& text) override { owner_.LogWriteFailed(text); }
  std::unique_ptr<ProgressView> CreateProgress(const std::string& title, bool smooth) override {
    if (title != Str(StrId::kRunningSequence)) return TerminalUi::CreateProgress(title, smooth);
    auto line = std::make_unique<RunProgressLine>(err_, *this);
    line_ = line.get();
    line->onGone_ = [this] { line_ = nullptr; };
    return line;
  }
  // A question starts on a clean line.
  MessageAnswer Message(const std::string& text, const std::string& caption, MessageButtons buttons,
                        MessageIcon icon) override {
    if (line_) line_->Hide();
    return TerminalUi::Message(text, caption, buttons, icon);
  }

 private:
  std::ostream& err_;
  TerminalUi& owner_;
  RunProgressLine* line_ = nullptr;  // the run's line while it is up
};

bool ErrorStreamIsTerminal(const CommandContext& context) {
  return &context.err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
}

std::string WithoutTrailingBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// A count typed as a plain decimal number, small enough for an int.
std::optional<int> Count(const std::string& typed) {
  if (typed.empty() || typed.size() > 9 ||
      typed.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::stoi(typed);
}

// The saved sequences of the working directory, with the stored name NAME
// becomes under the naming rules.
struct Stored {
  std::string path;
  SavedSequences list;
  std::string name;
};

// A damaged file is reported, and nothing is done with the empty list it
// gave: a save from it would be refused anyway.
bool LoadSaved(const CommandContext& context, const std::string& path, SavedSequences& list) {
  const Result<RecordFile> loaded = LoadSequences(path, list);
  if (loaded.ok()) return true;
  context.Fail(DamagedFileKept(loaded.status().message()));
  return false;
}

std::optional<Stored> Open(CommandContext& context, const std::string& typedName) {
  Stored stored;
  stored.path = SequencesFilePath(context.settings.workingDirectory);
  std::optional<std::string> name = AcceptSequenceName(context.ToCore(typedName), context.ui);
  if (!name) return std::nullopt;
  stored.name = *name;
  if (!LoadSaved(context, stored.path, stored.list)) return std::nullopt;
  return stored;
}

// The saved sequence NAME points to is the one listed as it reads after the
// naming rules; its stored name, blanks and all, is the one worked on.
std::optional<Stored> OpenListed(CommandContext& context, const std::string& typedName) {
  std::optional<Stored> stored = Open(context, typedName);
  if (!stored) return stored;
  for (const CommandSequence& sequence : stored->list.Sequences()) {
    if (SameListedSequenceName(sequence.name, stored->name)) {
      stored->name = sequence.name;
      break;
    }
  }
  return stored;
}

const CommandSequence* FindOrSay(const CommandContext& context, const Stored& stored) {
  const CommandSequence* sequence = stored.list.Find(stored.name);
  if (!sequence) {
    context.Fail(W("não há sequência salva com o nome \"") + WithoutTrailingBlanks(stored.name) +
                 "\"");
  }
  return sequence;
}

// Writes the changed sequence back as "Salvar" does, in place of the stored one.
int Save(CommandContext& context, Stored& stored, const CommandSequence& sequence) {
  // The Ui has said why it was not saved.
  const Status saved =
      StoreSequence(stored.list, sequence, stored.path, context.ui, ReplaceAnswer::Yes);
  return saved.ok() ? 0 : 1;
}

int List(CommandContext& context, const std::vector<std::string>& args) {
  if (!args.empty()) return context.UsageError(W("list não tem argumentos"));
  SavedSequences list;
  if (!LoadSaved(context, SequencesFilePath(context.settings.workingDirectory), list)) return 1;
  for (const CommandSequence& sequence : list.Sequences())
    context.out << context.Out(WithoutTrailingBlanks(sequence.name)) << '\n';
  context.out << std::flush;
  return context.out ? 0 : 1;
}

int New(CommandContext& context, const std::vector<std::string>& args) {
  bool replace = false;
  std::vector<std::string> names;
  for (const std::string& arg : args) {
    if (arg == "--replace") {
      replace = true;
    } else {
      names.push_back(arg);
    }
  }
  if (names.size() != 1) return context.UsageError(W("new pede um NOME"));
  std::optional<Stored> stored = Open(context, names[0]);
  if (!stored) return 1;
  CommandSequence sequence;
  sequence.name = stored->name;
  const Status saved = StoreSequence(stored->list, sequence, stored->path, context.ui,
                                     replace ? ReplaceAnswer::Yes : ReplaceAnswer::No);
  return saved.ok() ? 0 : 1;
}

int Add(CommandContext& context, const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  std::optional<int> at;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--at") {
      positional.push_back(args[i]);
      continue;
    }
    if (i + 1 >= args.size() || !(at = Count(args[i + 1])))
      return context.UsageError(W("--at pede uma posição (0, 1, ...)"));
    ++i;
  }
  if (positional.size() < 2) return context.UsageError(W("add pede NOME e CMD"));
  std::optional<Stored> stored = OpenListed(context, positional[0]);
  if (!stored) return 1;
  const CommandSequence* found = FindOrSay(context, *stored);
  if (!found) return 1;
  CommandCatalogue catalogue;
  if (!context.LoadCatalogue(catalogue)) return 1;
  CommandRecord record;
  if (!FindCatalogueCommand(context, catalogue, positional[1], &record)) return 1;
  if (!AssignParameterValues(context, {positional.begin() + 2, positional.end()}, &record,
                             MissingValues::KeepCatalogue))
    return 1;
  CommandSequence sequence = *found;
  if (!sequence.InsertCommand(record, at.value_or(-1))) {
    return context.UsageError(W("posição ") + std::to_string(*at) + W(" fora da sequência (") +
                              std::to_string(sequence.commandCount) + W(" comandos)"));
  }
  return Save(context, *stored, sequence);
}

int Remove(CommandContext& context, const std::vector<std::string>& args) {
  std::optional<int> position;
  if (args.size() != 2 || !(position = Count(args[1])))
    return context.UsageError(W("remove pede NOME e a posição K do comando"));
  std::optional<Stored> stored = OpenListed(context, args[0]);
  if (!stored) return 1;
  const CommandSequence* found = FindOrSay(context, *stored);
  if (!found) return 1;
  CommandSequence sequence = *found;
  if (!sequence.RemoveCommand(*position)) {
    return context.Fail(W("não há comando na posição ") + args[1] + W(" (a sequência tem ") +
                        std::to_string(sequence.commandCount) + W(" comandos)"));
  }
  return Save(context, *stored, sequence);
}

int Delete(CommandContext& context, const std::vector<std::string>& args) {
  if (args.size() != 1) return context.UsageError(W("delete pede um NOME"));
  std::optional<Stored> stored = OpenListed(context, args[0]);
  if (!stored) return 1;
  const Status deleted = DeleteSequence(stored->list, stored->name, stored->path, context.ui);
  return deleted.ok() ? 0 : 1;
}

int Show(CommandContext& context, const std::vector<std::string>& args) {
  if (args.size() != 1) return context.UsageError(W("show pede um NOME"));
  std::optional<Stored> stored = OpenListed(context, args[0]);
  if (!stored) return 1;
  const CommandSequence* sequence = FindOrSay(context, *stored);
  if (!sequence) return 1;
  for (size_t k = 0; k < sequence->commands.size(); ++k) {
    const CommandRecord& command = sequence->commands[k];
    context.out << k << '\t' << context.Out(command.title) << '\t'
                << context.Out(command.escapeText) << '\n';
    for (const CommandParameter& parameter : command.parameters) {
      context.out << '\t' << context.Out(parameter.title) << '\t'
                  << (parameter.mandatory ? 'S' : 'N') << '\t' << context.Out(parameter.value)
                  << '\n';
    }
  }
  context.out << std::flush;
  return context.out ? 0 : 1;
}

int Run(CommandContext& context, const std::vector<std::string>& args) {
  std::vector<std::string> names;
  std::string repetitions = "1", wait = "0";
  bool step = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--step") {
      step = true;
    } else if (args[i] == "-n" || args[i] == "-w") {
      if (i + 1 >= args.size()) return context.UsageError(W("falta o valor de ") + args[i]);
      (args[i] == "-n" ? repetitions : wait) = args[i + 1];
      ++i;
    } else {
      names.push_back(args[i]);
    }
  }
  if (names.size() != 1) return context.UsageError(W("run pede um NOME"));
  for (const std::string* value : {&repetitions, &wait}) {
    const std::string& text = *value;
    const bool negative = !text.empty() && text[0] == '-';
    if (!Count(negative ? text.substr(1) : text))
      return context.UsageError(W("número inválido: ") + text);
  }
  std::optional<Stored> stored = OpenListed(context, names[0]);
  if (!stored) return 1;
  const CommandSequence* sequence = FindOrSay(context, *stored);
  if (!sequence) return 1;

  // Out-of-range counts are told as the window tells them, and used.
  SequenceRunOptions options;
  options.repetitions = ReadRunField(repetitions, 1, kRepetitionsLimit, 1, context.ui);
  options.waitSeconds = ReadRunField(wait, 0, kWaitLimit, 0, context.ui);
  options.stepByStep = step;
  DefaultPortFactory ports;
  RunUi progressUi(context);
  Ui& ui = ErrorStreamIsTerminal(context) ? static_cast<Ui&>(progressUi) : context.ui;
  // Ctrl-C and SIGTERM cancel the exchange under way; --timeout bounds each.
  InterruptCancel interrupts;
  std::vector<RefusedCommand> refusals;
  ExecutionContext execution{context.settings,          ui,       ports, RealClock(),
                             context.options.timeoutMs, &refusals};
  const SequenceRunResults results = RunSequenceRepeatedly(*sequence, options, execution);
  return WithRefusals(context, refusals, PrintResults(context, results.message, results.result));
}

}  // namespace

int RunSequenceCommand(CommandContext& context) {
  if (context.arguments.empty())
    return context.UsageError(W("falta o subcomando: list, new, add, remove, delete, show, run"));
  const std::string sub = context.arguments[0];
  const std::vector<std::string> args(context.arguments.begin() + 1, context.arguments.end());
  if (sub == "list") return List(context, args);
  if (sub == "new") return New(context, args);
  if (sub == "add") return Add(context, args);
  if (sub == "remove") return Remove(context, args);
  if (sub == "delete") return Delete(context, args);
  if (sub == "show") return Show(context, args);
  if (sub == "run") return Run(context, args);
  return context.UsageError(W("subcomando desconhecido: ") + sub);
}

}  // namespace taloven
