#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "options.h"

namespace taloven::emulator {

// The parts of --help an option can be listed in; kUnlisted ones (--help,
// --version) get no row of their own.
enum class HelpSection { kUnlisted, kLines, kPrinter, kScanner, kFaults };

// One option of taloven-emulator. A new option is one line of
// emulator/option_table.cpp: ParseOptions and HelpText both read the table.
struct EmulatorOption {
  const char* name;      // "--baud"
  const char* argument;  // "N" for the help; empty when the option takes no value
  // The line the option asks for, or kNone; asking for two lines is refused
  // before the option's value is read.
  LineKind line;
  // Stores the value read after name (empty when argument is); fails with a
  // message when it is not one. nullptr when choosing the line is all it does.
  Status (*set)(Options& options, const std::string& name, const std::string& value);
  HelpSection section;
  const char* help;  // its lines in --help, '\n' between them
};

// One part of --help: the heading, the options of the section with their
// texts starting at column, then a note when there is one.
struct HelpPart {
  HelpSection section;
  const char* heading;
  size_t column;
  const char* note;  // nullptr when none
};

// Stand in a help text for the file-exchange directory in use and for the
// models the emulator plays (ModelRange).
constexpr const char* kDriveCMark = "{drive_c}";
constexpr const char* kModelsMark = "{models}";

// "ECF-T01 to ECF-T13": the first and last model of the program's table.
std::string ModelRange();

const std::vector<EmulatorOption>& OptionTable();
// The help's opening lines, then its parts in order.
const char* HelpIntro();
const std::vector<HelpPart>& HelpParts();

}  // namespace taloven::emulator
