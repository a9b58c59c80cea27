#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/read_file.h"
#include "base/result.h"
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

// The line the options ask for.
taloven::Result<std::unique_ptr<taloven::emulator::Transport>> OpenTransport(
    const taloven::emulator::Options& options, const taloven::DriveC& drive) {
  using namespace taloven::emulator;
  auto widen = [](auto opened) -> taloven::Result<std::unique_ptr<Transport>> {
    if (!opened.ok()) return opened.status();
    return std::unique_ptr<Transport>(std::move(opened.value()));
  };
  if (options.line == LineKind::kPty) return widen(PtyTransport::Open(options.linkPath));
  if (options.line == LineKind::kUsbSocket)
    return widen(UsbSocketTransport::Open(options.usbSocketPath));
  if (drive.fault != taloven::DriveCFault::kNone)
    return taloven::Status::Failure(DriveCRefusal(drive));
  return widen(FileTransport::Open(drive.directory));
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "taloven-emulator: %s\n", message.c_str());
  return 1;
}

int ServeScanner(const taloven::emulator::Options& options) {
  using namespace taloven::emulator;
  std::string stream;
  const taloven::Status read = taloven::ReadWholeFile(options.scanner, stream);
  if (!read.ok()) return Fail(options.scanner + ": " + std::strerror(read.systemError()));
  std::vector<std::string> records;
  if (const taloven::Status split = SplitScannerStream(stream, records); !split.ok())
    return Fail(options.scanner + ": " + split.message());
  auto opened = PtyTransport::Open(options.linkPath);
  if (!opened.ok()) return Fail(opened.status().message());
  const std::unique_ptr<PtyTransport> transport = std::move(opened.value());
  const taloven::Result<int> line = PrepareScannerLine(*transport);
  if (!line.ok()) return Fail(line.status().message());
  std::printf("%s\n", transport->Address().c_str());
  std::fflush(stdout);
  ScannerFeedOptions feed;
  feed.symbolGapMs = options.symbolGapMs;
  feed.repeat = options.repeatSymbols;
  feed.skip = options.skipSymbols;
  feed.verbose = options.verbose;
  if (const taloven::Status fed =
          RunScannerFeed(*transport, line.value(), records, feed, stopRequested);
      !fed.ok())
    return Fail(fed.message());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace taloven::emulator;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  Options options;
  const taloven::DriveC drive = taloven::FindDriveC();
  const std::string& driveC = drive.directory;
  if (const taloven::Status parsed = ParseOptions(arguments, options); !parsed.ok()) {
    std::fprintf(stderr, "taloven-emulator: %s\nTry taloven-emulator --help.\n",
                 parsed.message().c_str());
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
    if (const taloven::Status loaded = LoadStateFile(options.statePath, state); !loaded.ok()) {
      std::fprintf(stderr, "taloven-emulator: cannot read the state: %s\n",
                   loaded.message().c_str());
      return 2;
    }
    if (!options.model.empty()) state.model = options.model;
  }
  if (options.intervention) state.intervention = true;
  if (options.simulateDays > 0) {
    SimulateDays(state, options.simulateDays, Printer(PrinterState{}).Now());
    if (options.line == LineKind::kNone && options.exportPdf417.empty() &&
        options.exportScanner.empty()) {
      if (const taloven::Status saved = SaveStateFile(options.statePath, state); !saved.ok()) {
        std::fprintf(stderr, "taloven-emulator: cannot save the state: %s\n",
                     saved.message().c_str());
        return 1;
      }
      return 0;
    }
  }
  if (!options.exportPdf417.empty() || !options.exportScanner.empty()) {
    taloven::Status exported;
    if (!options.exportPdf417.empty())
      exported = ExportSymbolBitmaps(state.journal, options.exportPdf417);
    if (exported.ok() && !options.exportScanner.empty())
      exported = ExportScannerStream(state.journal, options.exportScanner);
    if (!exported.ok()) {
      std::fprintf(stderr, "taloven-emulator: cannot export the journal: %s\n",
                   exported.message().c_str());
      return 1;
    }
    return 0;
  }

  InstallStopHandlers();
  if (!options.scanner.empty()) return ServeScanner(options);
  auto opened = OpenTransport(options, drive);
  if (!opened.ok()) return Fail(opened.status().message());
  const std::unique_ptr<Transport> transport = std::move(opened.value());
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
  if (!options.statePath.empty()) {
    if (const taloven::Status saved = SaveStateFile(options.statePath, printer.State());
        !saved.ok())
      std::fprintf(stderr, "taloven-emulator: cannot save the state: %s\n",
                   saved.message().c_str());
  }
  if (!served) {
    std::fprintf(stderr, "taloven-emulator: %s\n", server.Error().c_str());
    return 1;
  }
  return 0;
}
