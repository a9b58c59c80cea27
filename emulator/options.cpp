#include "options.h"

#include "option_table.h"

namespace taloven::emulator {
namespace {

const EmulatorOption* FindOption(const std::string& name) {
  for (const EmulatorOption& option : OptionTable())
    if (name == option.name) return &option;
  return nullptr;
}

Status ChooseLine(LineKind line, Options& options) {
  if (options.line != LineKind::kNone && options.line != line)
    return Status::Failure("choose one of --pty, --file and --usb-socket");
  options.line = line;
  return {};
}

// Reads the option at arguments[i], and its value if it takes one (moving i
// past it).
Status ReadOption(const std::vector<std::string>& arguments, size_t& i, Options& options) {
  const std::string& name = arguments[i];
  const EmulatorOption* option = FindOption(name);
  if (option == nullptr) return Status::Failure("unknown option \"" + name + "\"");
  if (option->line != LineKind::kNone) {
    if (Status chosen = ChooseLine(option->line, options); !chosen.ok()) return chosen;
  }
  std::string value;
  if (*option->argument != '\0') {
    if (i + 1 >= arguments.size()) return Status::Failure(name + " needs a value");
    value = arguments[++i];
  }
  if (option->set == nullptr) return {};
  return option->set(options, name, value);
}

// Filling a state needs no line: the printer then saves it and ends.
bool OnlyFillsState(const Options& options) {
  return options.line == LineKind::kNone && !options.statePath.empty() &&
         (options.simulateDays > 0 || !options.exportPdf417.empty() ||
          !options.exportScanner.empty());
}

// A scanner serves a pseudo-terminal, so --scanner chooses --pty; the symbol
// options mean nothing without it.
Status CheckScanner(Options& options) {
  if (!options.scanner.empty()) {
    if (options.line != LineKind::kNone && options.line != LineKind::kPty)
      return Status::Failure("a scanner serves a pseudo-terminal (--pty)");
    options.line = LineKind::kPty;
  } else if (options.symbolGapMs != 2000 || !options.repeatSymbols.empty() ||
             !options.skipSymbols.empty()) {
    return Status::Failure("--symbol-gap, --repeat and --skip go with --scanner");
  }
  return {};
}

Status CheckLine(const Options& options) {
  if (options.line == LineKind::kNone)
    return Status::Failure("choose a line: --pty, --file or --usb-socket PATH");
  if (!options.linkPath.empty() && options.line != LineKind::kPty)
    return Status::Failure("--link goes with --pty");
  return {};
}

// "  --name ARG" padded to the column (two blanks when it reaches it), then
// the help's lines, the later ones indented to the column.
std::string HelpRow(const EmulatorOption& option, size_t column) {
  std::string label = option.name;
  if (*option.argument != '\0') label += std::string(" ") + option.argument;
  std::string text =
      "  " + label + std::string(label.size() < column ? column - label.size() : 2, ' ');
  const std::string indent(column + 2, ' ');
  for (const char* c = option.help; *c != '\0'; ++c) {
    text += *c;
    if (*c == '\n') text += indent;
  }
  return text + "\n";
}

}  // namespace

Status ParseOptions(const std::vector<std::string>& arguments, Options& options) {
  for (size_t i = 0; i < arguments.size(); ++i)
    if (Status read = ReadOption(arguments, i, options); !read.ok()) return read;
  if (options.help || options.version || OnlyFillsState(options)) return {};
  if (Status scanner = CheckScanner(options); !scanner.ok()) return scanner;
  return CheckLine(options);
}

std::string HelpText(const std::string& driveC) {
  std::string text = HelpIntro();
  for (const HelpPart& part : HelpParts()) {
    text += std::string("\n") + part.heading + "\n";
    for (const EmulatorOption& option : OptionTable())
      if (option.section == part.section) text += HelpRow(option, part.column);
    if (part.note != nullptr) text += std::string("\n") + part.note;
  }
  text.replace(text.find(kModelsMark), std::string(kModelsMark).size(), ModelRange());
  const size_t mark = text.find(kDriveCMark);
  return text.replace(mark, std::string(kDriveCMark).size(), driveC);
}

}  // namespace taloven::emulator
