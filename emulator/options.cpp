#include "options.h"

#include <cerrno>
#include <cstdlib>

#include "base/printer_models.h"

namespace taloven::emulator {
namespace {

bool ReadCount(const std::string& text, int minimum, int& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < minimum || parsed > 100000000) return false;
  value = static_cast<int>(parsed);
  return true;
}

std::string Trimmed(const std::string& name) {
  std::string out = name;
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= arguments.size()) {
        error = a + " needs a value";
        return false;
      }
      out = arguments[++i];
      return true;
    };
    auto number = [&](int minimum, int& out) {
      std::string text;
      if (!value(text)) return false;
      if (!ReadCount(text, minimum, out)) {
        error = a + ": \"" + text + "\" is not a number of " + std::to_string(minimum) + " or more";
        return false;
      }
      return true;
    };
    bool ok = true;
    if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a == "--version") {
      options.version = true;
    } else if (a == "--pty" || a == "--file" || a == "--usb-socket") {
      const LineKind kind = a == "--pty"    ? LineKind::kPty
                            : a == "--file" ? LineKind::kFile
                                            : LineKind::kUsbSocket;
      if (options.line != LineKind::kNone && options.line != kind) {
        error = "choose one of --pty, --file and --usb-socket";
        return false;
      }
      options.line = kind;
      if (kind == LineKind::kUsbSocket) ok = value(options.usbSocketPath);
    } else if (a == "--link") {
      ok = value(options.linkPath);
    } else if (a == "--baud") {
      ok = number(0, options.baud);
    } else if (a == "--model") {
      std::string model;
      ok = value(model);
      if (ok) {
        options.model.clear();
        // The models a technician can choose in the settings dialog.
        for (const std::string& known : SettingsModelNames())
          if (Trimmed(model) == Trimmed(known)) options.model = Trimmed(known);
        if (options.model.empty()) {
          error = "unknown model \"" + model + "\" (ECF-T01 to ECF-T12)";
          return false;
        }
      }
    } else if (a == "--intervention") {
      options.intervention = true;
    } else if (a == "--state") {
      ok = value(options.statePath);
    } else if (a == "--export-pdf417") {
      ok = value(options.exportPdf417);
    } else if (a == "--export-scanner") {
      ok = value(options.exportScanner);
    } else if (a == "--scanner") {
      ok = value(options.scanner);
    } else if (a == "--symbol-gap") {
      ok = number(0, options.symbolGapMs);
    } else if (a == "--repeat" || a == "--skip") {
      int symbol = 0;
      ok = number(1, symbol);
      (a == "--repeat" ? options.repeatSymbols : options.skipSymbols).insert(symbol);
    } else if (a == "--simulate-days") {
      ok = number(1, options.simulateDays);
    } else if (a == "--verbose") {
      options.verbose = true;
    } else if (a == "--fault-no-reply") {
      options.faults.noReply = true;
    } else if (a == "--fault-stall") {
      ok = number(0, options.faults.stallAfter);
    } else if (a == "--fault-nak") {
      options.faults.nak = true;
    } else if (a == "--fault-corrupt-status") {
      options.faults.corruptStatus = true;
    } else if (a == "--fault-noise") {
      ok = number(1, options.faults.noiseBytes);
    } else if (a == "--fault-slow") {
      ok = number(1, options.faults.slowByteMs);
    } else if (a == "--fault-close") {
      options.faults.closeMidReply = true;
    } else if (a == "--fault-corrupt-data") {
      options.faults.corruptData = true;
    } else if (a == "--fault-after") {
      ok = number(1, options.faults.after);
    } else if (a == "--fault-count") {
      ok = number(1, options.faults.commands);
    } else {
      error = "unknown option \"" + a + "\"";
      return false;
    }
    if (!ok) return false;
  }
  if (options.help || options.version) return true;
  // Filling a state needs no line: the printer then saves it and ends.
  if (options.line == LineKind::kNone && !options.statePath.empty() &&
      (options.simulateDays > 0 || !options.exportPdf417.empty() || !options.exportScanner.empty()))
    return true;
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

std::string HelpText(const std::string& driveC) {
  return "Usage: taloven-emulator (--pty [--link PATH] | --file | --usb-socket PATH) [options]\n"
         "A virtual fiscal printer that answers the sample command catalogue.\n"
         "\n"
         "Lines:\n"
         "  --pty               serve a pseudo-terminal; its device path is the first\n"
         "                      line on standard output\n"
         "  --link PATH         keep PATH a symbolic link to that device (removed on exit)\n"
         "  --file              serve the file exchange: read comando.dat, append\n"
         "                      retorno.dat in $TALOVEN_DRIVE_C, by default\n"
         "                      /tmp/taloven-drive_c-<uid>, as the application (now: " +
         driveC +
         ");\n"
         "                      the directory is the first line on standard output\n"
         "  --usb-socket PATH   serve the printer's USB side on the local socket PATH\n"
         "                      (the application finds it through TALOVEN_USB_SOCKET)\n"
         "  --baud N            send replies no faster than N bit/s, 11 bits a byte;\n"
         "                      0 (the default) sends at once\n"
         "\n"
         "Printer:\n"
         "  --model NAME        ECF-T01 to ECF-T12 (default ECF-T08)\n"
         "  --intervention      start in technical intervention (programming allowed)\n"
         "  --state FILE        keep the printer's state in FILE (text) between runs;\n"
         "                      without it every run starts from a fresh printer\n"
         "  --verbose           one line per command on standard error\n"
         "  --simulate-days N   first add N days of sales ending yesterday (receipts,\n"
         "                      supplies, X readings, one Z a day) to the journal and\n"
         "                      fiscal memory; with --state and no line, save and end\n"
         "  --export-pdf417 DIR write the journal as PDF-417 symbols, one bitmap each\n"
         "                      (DIR/symbol_0001.bmp, ...), and end\n"
         "  --export-scanner FILE  write the journal as the bytes a scanner sends when\n"
         "                      it reads those symbols (one record each), and end\n"
         "\n"
         "A fresh printer: maker TALOVEN, type ECF-IF, normal mode, the host's local\n"
         "time, owner CNPJ 12.345.678/0001-95, IE 123.456.789.110, IM 9876543, UF SP,\n"
         "cliché MERCADO BOA VISTA LTDA, ECF 001 and store 0001; tax rates 01 18,00 %,\n"
         "02 12,00 % and 03 7,00 % (ICMS), 04 5,00 % (ISS); payment forms 01 Dinheiro,\n"
         "02 Cheque, 03 Cartão (TEF); non-fiscal totalizers 01 SANGRIA, 02 SUPRIMENTO,\n"
         "03 RECEBIMENTO; management report 01 RELATÓRIO GERAL; every counter and\n"
         "total at zero but CRO, which is 1.\n"
         "\n"
         "Scanner (in place of the printer):\n"
         "  --scanner FILE      be a PDF-417 scanner on a pseudo-terminal (as --pty, with\n"
         "                      --link): once the application has set the line up, send\n"
         "                      the symbol records of FILE (from --export-scanner) one by\n"
         "                      one, as a person scanning them would\n"
         "  --symbol-gap MS     the pause before each symbol (default 2000)\n"
         "  --repeat K          send symbol K (from 1) twice\n"
         "  --skip K            leave symbol K out\n"
         "\n"
         "Faults, for tests:\n"
         "  --fault-no-reply        answer nothing\n"
         "  --fault-stall N         stop after N reply bytes\n"
         "  --fault-nak             send the reply with NAK in place of ACK\n"
         "  --fault-corrupt-status  flip bits of the two status bytes\n"
         "  --fault-noise N         send N noise bytes before the reply\n"
         "  --fault-slow MS         pause MS milliseconds before every reply byte\n"
         "  --fault-close           drop the line half-way through the reply (a new\n"
         "                          pseudo-terminal follows; --link is moved to it)\n"
         "  --fault-count K         apply the faults to the next K commands only\n"
         "  --fault-corrupt-data    flip one bit in the middle of the reply data\n"
         "  --fault-after N         answer the first N commands soundly, then fault\n"
         "\n"
         "A frame with a wrong STX, length or checksum, or one cut short, gets a lone NAK.\n"
         "SIGINT or SIGTERM stops the printer cleanly. --version prints the version.\n";
}

}  // namespace taloven::emulator
