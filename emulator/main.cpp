#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/version.h"
#include "link/drive_c.h"
#include "options.h"
#include "printer/printer.h"
#include "printer/simulation.h"
#include "printer/state_file.h"
#include "scanner/scanner_feed.h"
#include "scanner/symbol_export.h"
#include "transports/file_transport.h"
#include "transports/pty_transport.h"
#include "transports/server.h"
#include "transports/usb_socket_transport.h"

namespace {

std::atomic<bool> stopRequested{false};

void RequestStop(int) {
  stopRequested.store(true);
}

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no restart: a waiting poll returns at once
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

// The application refuses such a directory as well, and for the same reasons.
std::string DriveCRefusal(const taloven::DriveC& drive) {
  using taloven::DriveCFault;
  const std::string refused = "refusing the file exchange's directory " + drive.directory;
  switch (drive.fault) {
    case DriveCFault::kNone:
      break;
    case DriveCFault::kCannotCreate:
      return "cannot create " + drive.directory + ": " + std::strerror(drive.error);
    case DriveCFault::kNotDirectory:
      return refused + ": it is no directory";
    case DriveCFault::kSymbolicLink:
      return refused + ": it is a symbolic link";
    case DriveCFault::kNotOwned:
      return refused + ": another user owns it";
    case DriveCFault::kOpenToOthers:
      return refused + ": group or others may write into it";
  }
  return {};
}

int ServeScanner(const taloven::emulator::Options& options) {
  using namespace taloven::emulator;
  std::string error;
  std::ifstream in(options.scanner, std::ios::binary);
  const std::string stream{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<std::string> records;
  if (!in.is_open() || in.bad())
    error = options.scanner + ": " + std::strerror(errno);
  else if (!SplitScannerStream(stream, records, error))
    error = options.scanner + ": " + error;
  if (!error.empty()) {
    std::fprintf(stderr, "taloven-emulator: %s\n", error.c_str());
    return 1;
  }
  std::unique_ptr<Transport> transport = PtyTransport::Open(options.linkPath, error);
  if (!transport) {
    std::fprintf(stderr, "taloven-emulator: %s\n", error.c_str());
    return 1;
  }
  const int line = PrepareScannerLine(*transport, error);
  if (line < 0) {
    std::fprintf(stderr, "taloven-emulator: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", transport->Address().c_str());
  std::fflush(stdout);
  ScannerFeedOptions feed;
  feed.symbolGapMs = options.symbolGapMs;
  feed.repeat = options.repeatSymbols;
  feed.skip = options.skipSymbols;
  feed.verbose = options.verbose;
  if (!RunScannerFeed(*transport, line, records, feed, stopRequested, error)) {
    std::fprintf(stderr, "taloven-emulator: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace taloven::emulator;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  Options options;
  std::string error;
  const taloven::DriveC drive = taloven::FindDriveC();
  const std::string& driveC = drive.directory;
  if (!ParseOptions(arguments, options, error)) {
    std::fprintf(stderr, "taloven-emulator: %s\nTry taloven-emulator --help.\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(HelpText(driveC).c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("taloven-emulator %s\n", taloven::ProgramVersion());
    return 0;
  }

  PrinterState state = DefaultPrinterState(options.model.empty() ? kDefaultModel : options.model);
  if (!options.statePath.empty()) {
    if (!LoadStateFile(options.statePath, state, error)) {
      std::fprintf(stderr, "taloven-emulator: cannot read the state: %s\n", error.c_str());
      return 2;
    }
    if (!options.model.empty()) state.model = options.model;
  }
  if (options.intervention) state.intervention = true;
  if (options.simulateDays > 0) {
    SimulateDays(state, options.simulateDays, Printer(PrinterState{}).Now());
    if (options.line == LineKind::kNone && options.exportPdf417.empty() &&
        options.exportScanner.empty()) {
      if (!SaveStateFile(options.statePath, state, error)) {
        std::fprintf(stderr, "taloven-emulator: cannot save the state: %s\n", error.c_str());
        return 1;
      }
      return 0;
    }
  }
  if (!options.exportPdf417.empty() || !options.exportScanner.empty()) {
    if ((!options.exportPdf417.empty() &&
         !ExportSymbolBitmaps(state.journal, options.exportPdf417, error)) ||
        (!options.exportScanner.empty() &&
         !ExportScannerStream(state.journal, options.exportScanner, error))) {
      std::fprintf(stderr, "taloven-emulator: cannot export the journal: %s\n", error.c_str());
      return 1;
    }
    return 0;
  }

  InstallStopHandlers();
  if (!options.scanner.empty()) return ServeScanner(options);
  std::unique_ptr<Transport> transport;
  if (options.line == LineKind::kPty)
    transport = PtyTransport::Open(options.linkPath, error);
  else if (options.line == LineKind::kUsbSocket)
    transport = UsbSocketTransport::Open(options.usbSocketPath, error);
  else if (drive.fault != taloven::DriveCFault::kNone)
    error = DriveCRefusal(drive);
  else
    transport = FileTransport::Open(driveC, error);
  if (!transport) {
    std::fprintf(stderr, "taloven-emulator: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", transport->Address().c_str());
  std::fflush(stdout);

  Printer printer(std::move(state));
  ServerOptions serving;
  serving.baud = options.baud;
  serving.statePath = options.statePath;
  serving.verbose = options.verbose;
  serving.faults = options.faults;
  Server server(*transport, printer, serving);
  const bool served = server.Run(stopRequested);
  if (!options.statePath.empty() && !SaveStateFile(options.statePath, printer.State(), error))
    std::fprintf(stderr, "taloven-emulator: cannot save the state: %s\n", error.c_str());
  if (!served) {
    std::fprintf(stderr, "taloven-emulator: %s\n", server.Error().c_str());
    return 1;
  }
  return 0;
}
