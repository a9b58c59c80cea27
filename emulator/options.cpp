#include "options.h"

#include "option_table.h"

namespace taloven::emulator {
namespace {

const EmulatorOption* FindOption(const std::string& name) {
  for (const EmulatorOption& option : OptionTable())
    if (name == option.name) return &option;
  return nullptr;
}

bool ChooseLine(LineKind line, Options& options, std::string& error) {
  if (options.line != LineKind::kNone && options.line != line) {
    error = "choose one of --pty, --file and --usb-socket";
    return false;
  }
  options.line = line;
  return true;
}

// Reads the option at arguments[i], and its value if it takes one (moving i
// past it).
bool ReadOption(const std::vector<std::string>& arguments, size_t& i, Options& options,
                std::string& error) {
  const std::string& name = arguments[i];
  const EmulatorOption* option = FindOption(name);
  if (option == nullptr) {
    error = "unknown option \"" + name + "\"";
    return false;
  }
  if (option->line != LineKind::kNone && !ChooseLine(option->line, options, error)) return false;
  std::string value;
  if (*option->argument != '\0') {
    if (i + 1 >= arguments.size()) {
      error = name + " needs a value";
      return false;
    }
    value = arguments[++i];
  }
  return option->set == nullptr || option->set(options, name, value, error);
}

// Filling a state needs no line: the printer then saves it and ends.
bool OnlyFillsState(const Options& options) {
  return options.line == LineKind::kNone && !options.statePath.empty() &&
         (options.simulateDays > 0 || !options.exportPdf417.empty() ||
          !options.exportScanner.empty());
}

// A scanner serves a pseudo-terminal, so --scanner chooses --pty; the symbol
// options mean nothing without it.
bool CheckScanner(Options& options, std::string& error) {
  if (!options.scanner.empty()) {
    if (options.line != LineKind::kNone && options.line != LineKind::kPty) {
      error = "a scanner serves a pseudo-terminal (--pty)";
      return false;
    }
    options.line = LineKind::kPty;
  } else if (options.symbolGapMs != 2000 || !options.repeatSymbols.empty() ||
             !options.skipSymbols.empty()) {
    error = "--symbol-gap, --repeat and --skip go with --scanner";
    return false;
  }
  return true;
}

bool CheckLine(const Options& options, std::string& error) {
  if (options.line == LineKind::kNone) {
    error = "choose a line: --pty, --file or --usb-socket PATH";
    return false;
  }
  if (!options.linkPath.empty() && options.line != LineKind::kPty) {
    error = "--link goes with --pty";
    return false;
  }
  return true;
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

bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
  for (size_t i = 0; i < arguments.size(); ++i)
    if (!ReadOption(arguments, i, options, error)) return false;
  if (options.help || options.version || OnlyFillsState(options)) return true;
  return CheckScanner(options, error) && CheckLine(options, error);
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
