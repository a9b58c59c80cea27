#pragma once

#include <set>
#include <string>
#include <vector>

#include "base/status.h"
#include "printer/faults.h"

namespace taloven::emulator {

enum class LineKind { kNone, kPty, kFile, kUsbSocket };

struct Options {
  LineKind line = LineKind::kNone;
  std::string linkPath;
  std::string usbSocketPath;
  std::string driveC;  // directory of the file exchange
  int baud = 0;
  std::string model;  // empty: the state's, else the default
  bool intervention = false;
  std::string statePath;
  bool verbose = false;
  FaultPlan faults;
  bool help = false;
  int simulateDays = 0;       // days of sales to add to the state before serving
  std::string exportPdf417;   // directory for the journal's symbol bitmaps
  std::string exportScanner;  // file for the journal as a scanner's stream
  std::string scanner;        // a scanner's stream to send over the pty, symbol by symbol
  int symbolGapMs = 2000;     // the pause before each symbol
  std::set<int> repeatSymbols, skipSymbols;
  bool version = false;
};

constexpr const char* kDefaultModel = "ECF-T08";

// Reads the command line (without the program name). false with a message
// for anything it does not understand.
Status ParseOptions(const std::vector<std::string>& arguments, Options& options);

// The --help text, naming the default file-exchange directory.
std::string HelpText(const std::string& driveC);

}  // namespace taloven::emulator
