#include "option_table.h"

#include <cerrno>
#include <cstdlib>

#include "base/printer_models.h"

namespace taloven::emulator {
namespace {

std::string Trimmed(const std::string& name) {
  std::string out = name;
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

bool ReadCount(const std::string& text, int minimum, int& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < minimum || parsed > 100000000) return false;
  value = static_cast<int>(parsed);
  return true;
}

Status Number(const std::string& name, const std::string& text, int minimum, int& value) {
  if (ReadCount(text, minimum, value)) return {};
  return Status::Failure(name + ": \"" + text + "\" is not a number of " + std::to_string(minimum) +
                         " or more");
}

template <bool Options::*field>
Status Flag(Options& options, const std::string&, const std::string&) {
  options.*field = true;
  return {};
}

template <bool FaultPlan::*field>
Status FaultFlag(Options& options, const std::string&, const std::string&) {
  options.faults.*field = true;
  return {};
}

template <std::string Options::*field>
Status Text(Options& options, const std::string&, const std::string& value) {
  options.*field = value;
  return {};
}

template <int minimum, int Options::*field>
Status Count(Options& options, const std::string& name, const std::string& value) {
  return Number(name, value, minimum, options.*field);
}

template <int minimum, int FaultPlan::*field>
Status FaultCount(Options& options, const std::string& name, const std::string& value) {
  return Number(name, value, minimum, options.faults.*field);
}

// "MS/EVERY": a pause of MS milliseconds after every EVERY reply bytes.
Status Gap(Options& options, const std::string& name, const std::string& value) {
  const size_t slash = value.find('/');
  if (slash != std::string::npos && ReadCount(value.substr(0, slash), 1, options.faults.gapMs) &&
      ReadCount(value.substr(slash + 1), 1, options.faults.gapEvery))
    return {};
  return Status::Failure(name + ": \"" + value + "\" is not MS/EVERY, two numbers of 1 or more");
}

// Symbols are counted from 1, as the person scanning them counts.
template <std::set<int> Options::*field>
Status Symbol(Options& options, const std::string& name, const std::string& value) {
  int symbol = 0;
  if (Status read = Number(name, value, 1, symbol); !read.ok()) return read;
  (options.*field).insert(symbol);
  return {};
}

// Every model of the program's table, those known only from detection
// included, as the CLI's --model takes them; a name as a printer pads it
// (trailing blanks) is accepted too.
Status Model(Options& options, const std::string&, const std::string& value) {
  for (const PrinterModel& known : PrinterModels()) {
    if (Trimmed(value) == Trimmed(std::string(known.name))) {
      options.model = Trimmed(std::string(known.name));
      return {};
    }
  }
  return Status::Failure("unknown model \"" + value + "\" (" + ModelRange() + ")");
}

}  // namespace

std::string ModelRange() {
  const auto models = PrinterModels();
  return Trimmed(std::string(models.front().name)) + " to " +
         Trimmed(std::string(models.back().name));
}

const std::vector<EmulatorOption>& OptionTable() {
  using S = HelpSection;
  constexpr LineKind kNoLine = LineKind::kNone;
  static const std::vector<EmulatorOption> table = {
      {"--pty", "", LineKind::kPty, nullptr, S::kLines,
       "serve a pseudo-terminal; its device path is the first\n"
       "line on standard output"},
      {"--link", "PATH", kNoLine, Text<&Options::linkPath>, S::kLines,
       "keep PATH a symbolic link to that device (removed on exit)"},
      {"--file", "", LineKind::kFile, nullptr, S::kLines,
       "serve the file exchange: read comando.dat, append\n"
       "retorno.dat in $TALOVEN_DRIVE_C, by default\n"
       "/tmp/taloven-drive_c-<uid>, as the application (now: {drive_c});\n"
       "the directory is the first line on standard output"},
      {"--usb-socket", "PATH", LineKind::kUsbSocket, Text<&Options::usbSocketPath>, S::kLines,
       "serve the printer's USB side on the local socket PATH\n"
       "(the application finds it through TALOVEN_USB_SOCKET)"},
      {"--baud", "N", kNoLine, Count<0, &Options::baud>, S::kLines,
       "send replies no faster than N bit/s, 11 bits a byte;\n"
       "0 (the default) sends at once"},

      {"--model", "NAME", kNoLine, Model, S::kPrinter, "{models} (default ECF-T08)"},
      {"--intervention", "", kNoLine, Flag<&Options::intervention>, S::kPrinter,
       "start in technical intervention (programming allowed)"},
      {"--state", "FILE", kNoLine, Text<&Options::statePath>, S::kPrinter,
       "keep the printer's state in FILE (text) between runs;\n"
       "without it every run starts from a fresh printer"},
      {"--verbose", "", kNoLine, Flag<&Options::verbose>, S::kPrinter,
       "one line per command on standard error"},
      {"--simulate-days", "N", kNoLine, Count<1, &Options::simulateDays>, S::kPrinter,
       "first add N days of sales ending yesterday (receipts,\n"
       "supplies, X readings, one Z a day) to the journal and\n"
       "fiscal memory; with --state and no line, save and end"},
      {"--export-pdf417", "DIR", kNoLine, Text<&Options::exportPdf417>, S::kPrinter,
       "write the journal as PDF-417 symbols, one bitmap each\n"
       "(DIR/symbol_0001.bmp, ...; DIR is made when missing),\n"
       "and end"},
      {"--export-scanner", "FILE", kNoLine, Text<&Options::exportScanner>, S::kPrinter,
       "write the journal as the bytes a scanner sends when\n"
       "it reads those symbols (one record each), and end"},

      {"--scanner", "FILE", kNoLine, Text<&Options::scanner>, S::kScanner,
       "be a PDF-417 scanner on a pseudo-terminal (as --pty, with\n"
       "--link): once the application has set the line up, send\n"
       "the symbol records of FILE (from --export-scanner) one by\n"
       "one, as a person scanning them would"},
      {"--symbol-gap", "MS", kNoLine, Count<0, &Options::symbolGapMs>, S::kScanner,
       "the pause before each symbol (default 2000)"},
      {"--repeat", "K", kNoLine, Symbol<&Options::repeatSymbols>, S::kScanner,
       "send symbol K (from 1) twice"},
      {"--skip", "K", kNoLine, Symbol<&Options::skipSymbols>, S::kScanner, "leave symbol K out"},

      {"--fault-no-reply", "", kNoLine, FaultFlag<&FaultPlan::noReply>, S::kFaults,
       "answer nothing"},
      {"--fault-stall", "N", kNoLine, FaultCount<0, &FaultPlan::stallAfter>, S::kFaults,
       "stop after N reply bytes"},
      {"--fault-nak", "", kNoLine, FaultFlag<&FaultPlan::nak>, S::kFaults,
       "send the reply with NAK in place of ACK"},
      {"--fault-corrupt-status", "", kNoLine, FaultFlag<&FaultPlan::corruptStatus>, S::kFaults,
       "flip bits of the two status bytes"},
      {"--fault-noise", "N", kNoLine, FaultCount<1, &FaultPlan::noiseBytes>, S::kFaults,
       "send N noise bytes before the reply"},
      {"--fault-slow", "MS", kNoLine, FaultCount<1, &FaultPlan::slowByteMs>, S::kFaults,
       "pause MS milliseconds before every reply byte"},
      {"--fault-gap", "MS/EVERY", kNoLine, Gap, S::kFaults,
       "pause MS milliseconds after every EVERY reply bytes,\n"
       "as a USB-serial adapter delivers bursts"},
      {"--fault-close", "", kNoLine, FaultFlag<&FaultPlan::closeMidReply>, S::kFaults,
       "drop the line half-way through the reply (a new\n"
       "pseudo-terminal follows; --link is moved to it)"},
      {"--fault-count", "K", kNoLine, FaultCount<1, &FaultPlan::commands>, S::kFaults,
       "apply the faults to the next K commands only"},
      {"--fault-corrupt-data", "", kNoLine, FaultFlag<&FaultPlan::corruptData>, S::kFaults,
       "flip one bit in the middle of the reply data"},
      {"--fault-after", "N", kNoLine, FaultCount<1, &FaultPlan::after>, S::kFaults,
       "answer the first N commands soundly, then fault"},

      {"--help", "", kNoLine, Flag<&Options::help>, S::kUnlisted, ""},
      {"-h", "", kNoLine, Flag<&Options::help>, S::kUnlisted, ""},
      {"--version", "", kNoLine, Flag<&Options::version>, S::kUnlisted, ""},
  };
  return table;
}

const char* HelpIntro() {
  return "Usage: taloven-emulator (--pty [--link PATH] | --file | --usb-socket PATH) [options]\n"
         "A virtual fiscal printer that answers the sample command catalogue.\n";
}

const std::vector<HelpPart>& HelpParts() {
  static const std::vector<HelpPart> parts = {
      {HelpSection::kLines, "Lines:", 20, nullptr},
      {HelpSection::kPrinter, "Printer:", 20,
       "A fresh printer: maker TALOVEN, type ECF-IF, normal mode, the host's local\n"
       "time, owner CNPJ 12.345.678/0001-95, IE 123.456.789.110, IM 9876543, UF SP,\n"
       "cliché MERCADO BOA VISTA LTDA, ECF 001 and store 0001; tax rates 01 18,00 %,\n"
       "02 12,00 % and 03 7,00 % (ICMS), 04 5,00 % (ISS); payment forms 01 Dinheiro,\n"
       "02 Cheque, 03 Cartão (TEF); non-fiscal totalizers 01 SANGRIA, 02 SUPRIMENTO,\n"
       "03 RECEBIMENTO; management report 01 RELATÓRIO GERAL; every counter and\n"
       "total at zero but CRO, which is 1.\n"},
      {HelpSection::kScanner, "Scanner (in place of the printer):", 20, nullptr},
      {HelpSection::kFaults, "Faults, for tests:", 24,
       "A frame with a wrong STX, length or checksum, or one cut short, gets a lone NAK.\n"
       "SIGINT or SIGTERM stops the printer cleanly. --version prints the version.\n"},
  };
  return parts;
}

}  // namespace taloven::emulator
