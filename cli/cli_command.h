#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "terminal_ui.h"
#include "ui/app_settings.h"

namespace taloven {

// The options given before the command name; they apply to every command.
struct GlobalOptions {
  std::string directory;           // -C DIR; empty means the current directory
  std::string portName = "COM1:";  // -p PORT
  bool extendedReturn = false;     // -x
  bool raw = false;                // --raw: Windows-1252 bytes in and out, not UTF-8
  std::string modelName;           // --model NAME, as typed; empty when not given
  std::string modelMask;           // --model-mask M, as typed; empty when not given
  int timeoutMs = 0;               // --timeout SECONDS: bound of each exchange; 0 none
  std::string tracePath;           // --trace FILE: the bytes of every exchange; "-" stderr
};

struct CliCommand;

// Everything one command run gets. Texts written to out and err go through
// Out() so that --raw is honoured; arguments arrive as typed and ToCore()
// turns a text argument into the core's encoding (paths stay as typed).
struct CommandContext {
  const CliCommand& command;
  const GlobalOptions& options;
  std::vector<std::string> arguments;  // after the command name
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  TerminalUi& ui;
  // portName, extendedReturn and workingDirectory from the options; the model
  // is unknown until a command asks the printer.
  AppSettings settings;

  std::string Out(const std::string& cp1252) const { return ui.Out(cp1252); }
  std::string ToCore(const std::string& typed) const;
  // Prints "taloven-cli: message" (Windows-1252) on err; returns exit status 1.
  int Fail(const std::string& message) const;
  // Fail() followed by the command's usage line.
  int UsageError(const std::string& message) const;
  // Loads comandos.xml from the working directory; on failure tells why on
  // err and returns false.
  bool LoadCatalogue(CommandCatalogue& catalogue) const;
  // For commands that need the printer's model: takes it from --model and
  // --model-mask when given, else detects the printer as the GUI does at
  // start-up (the -p port first). False, reported on err, for a bad option.
  bool ResolveModel();
};

// One command of taloven-cli. Each lives in its own cli/command_<name>.cpp
// and is listed in cli/command_table.cpp. run returns the exit status: 0 for
// success, 1 for any failure, which it has reported on err.
struct CliCommand {
  const char* name;
  const char* arguments;  // usage after the name, UTF-8, e.g. "INDEX [VALUE...]"
  const char* summary;    // one line for the help, UTF-8
  int (*run)(CommandContext& context);
};

const std::vector<CliCommand>& CommandTable();

// The whole program: parses the global options, finds the command in table
// and runs it. Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, const std::vector<CliCommand>& table = CommandTable());

}  // namespace taloven
