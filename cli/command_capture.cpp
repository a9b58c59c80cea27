// Captures the PDF-417 symbols a serial scanner reads into an MFD file, as
// the capture window does, with the status line of each symbol on standard
// output.
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <utility>

#include "base/encoding.h"
#include "cli_command.h"
#include "interrupt_cancel.h"
#include "link/execute.h"
#include "link_command_support.h"
#include "resources/strings.h"
#include "scanner/scanner_capture.h"
#include "scanner/scanner_profile.h"

namespace taloven {
namespace {

// Keeps what the reader reports for the command's own thread, which prints
// it: the reader never writes to the streams itself.
class QueuedListener : public CaptureListener {
 public:
  void Attach(const ScannerCapture& capture) { capture_ = &capture; }
  void Refresh() override {
    const CaptureDisplay display = capture_->Display();
    std::lock_guard<std::mutex> hold(lock_);
    updates_.push_back(display);
    changed_.notify_all();
  }
  void Beep() override {
    if (::isatty(STDERR_FILENO) == 1) {
      const ssize_t wrote = ::write(STDERR_FILENO, "\a", 1);
      static_cast<void>(wrote);  // no bell is no failure
    }
  }
  void AllRead() override { End(allRead_); }
  void LineLost() override { End(lineLost_); }
  // Waits up to ms for news; the updates so far, and whether the reader
  // ended (all read, or the line lost).
  std::deque<CaptureDisplay> Wait(int ms, bool& ended) {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait_for(hold, std::chrono::milliseconds(ms),
                      [&] { return allRead_ || lineLost_ || !updates_.empty(); });
    ended = allRead_ || lineLost_;
    return std::exchange(updates_, {});
  }
  bool AllReadSeen() {
    std::lock_guard<std::mutex> hold(lock_);
    return allRead_;
  }

 private:
  const ScannerCapture* capture_ = nullptr;
  std::mutex lock_;
  std::condition_variable changed_;
  std::deque<CaptureDisplay> updates_;
  bool allRead_ = false;
  bool lineLost_ = false;

  void End(bool& flag) {
    std::lock_guard<std::mutex> hold(lock_);
    flag = true;
    changed_.notify_all();
  }
};

bool Position(const std::vector<std::string>& names, const std::string& value, int& out) {
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == value) {
      out = static_cast<int>(i);
      return true;
    }
  return false;
}

bool Number(const std::string& text, long minimum, long maximum, long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  out = std::strtol(text.c_str(), &end, 10);
  return *end == '\0' && out >= minimum && out <= maximum;
}

struct CaptureOptions {
  std::string output;
  long timeoutSeconds = 0;  // 0: no limit
  bool savePartial = false;
  bool dump = false;
  ReaderTiming timing;
};

// Reads the command's arguments over settings (the profile's); false when
// they are wrong, reported.
bool ReadArguments(CommandContext& context, ScannerSettings& settings, CaptureOptions& options) {
  const std::vector<std::string>& args = context.arguments;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    const std::string value = hasValue ? args[i + 1] : "";
    long number = 0;
    bool ok = hasValue;
    if (a == "--save-partial") {
      options.savePartial = true;
      continue;
    }
    if (a == "--dump") {
      options.dump = true;
      continue;
    }
    if (a == "-s") {
      settings.portName = value;
    } else if (a == "-o") {
      options.output = value;
    } else if (a == "--timeout") {
      ok = ok && Number(value, 1, 86400, options.timeoutSeconds);
    } else if (a == "--rearm") {
      ok = ok && Number(value, 0, 60000, number);
      options.timing.rearmMs = static_cast<int>(number);
    } else if (a == "--baud") {
      ok = ok && Number(value, 1, 1000000, number);
      std::vector<std::string> rates;
      for (int rate : ScannerBaudRates()) rates.push_back(std::to_string(rate));
      ok = ok && Position(rates, value, settings.baud);
    } else if (a == "--bits") {
      ok = ok && Position({"5", "6", "7", "8"}, value, settings.byteLength);
    } else if (a == "--parity") {
      ok = ok && Position({"none", "even", "odd"}, value, settings.parity);
    } else if (a == "--stop") {
      ok = ok && (Position({"1", "1.5", "2"}, value, settings.stopBits) ||
                  Position({"1", "1,5", "2"}, value, settings.stopBits));
    } else if (a == "--handshake") {
      ok = ok && Position({"none", "rts"}, value, settings.handshake);
    } else {
      context.UsageError(W("argumento desconhecido: ") + context.ToCore(a));
      return false;
    }
    if (!ok) {
      context.UsageError(W("valor inválido para ") + a + ": " + context.ToCore(value));
      return false;
    }
    ++i;
  }
  if (options.output.empty()) {
    context.UsageError(W("falta o arquivo MFD (-o ARQUIVO)"));
    return false;
  }
  if (settings.portName.empty()) {
    context.UsageError(W("falta a porta do scanner (-s PORTA)"));
    return false;
  }
  return true;
}

void Print(CommandContext& context, const CaptureDisplay& display, bool dump) {
  if (display.status.empty()) return;
  context.out << context.Out(display.status) << '\n';
  if (dump) context.out << display.dump;
  context.out << std::flush;
}

}  // namespace

int RunCaptureCommand(CommandContext& context) {
  ScannerSettings settings = LoadScannerSettings(context.ui, ScannerDefaults::Capture);
  CaptureOptions options;
  if (!ReadArguments(context, settings, options)) return 1;

  QueuedListener listener;
  ScannerCapture session(context.ui, listener);
  listener.Attach(session);
  session.SetTiming(options.timing);
  // Ctrl-C or SIGTERM ends the capture through the stop flow instead of
  // the program, so that the symbols read are not lost.
  InterruptCancel interrupts;
  if (!session.Start(settings, &InterruptCancel::Requested)) {
    if (InterruptCancel::Requested()) {
      context.Fail(Str(StrId::kCommandCancelled));
      return ExitStatusFor(kExecuteCancelled);
    }
    return context.Fail(W("a porta do scanner não foi aberta: ") + settings.portName);
  }
  context.err << context.Out(W("Lendo símbolos PDF-417 em ") + settings.portName +
                             W(" (Ctrl-C para parar)"))
              << std::endl;

  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
  bool ended = false;
  while (!ended && !InterruptCancel::Requested()) {
    for (const CaptureDisplay& display : listener.Wait(100, ended))
      Print(context, display, options.dump);
    if (options.timeoutSeconds > 0 && std::chrono::steady_clock::now() >= deadline) {
      context.err << context.Out(W("Tempo esgotado")) << std::endl;
      break;
    }
  }
  if (listener.AllReadSeen())
    context.out << context.Out(W("Todos os símbolos foram lidos.")) << std::endl;

  const StopResult result = session.Stop(StopAnswers{options.savePartial, options.output});
  for (const CaptureDisplay& display : listener.Wait(0, ended))
    Print(context, display, options.dump);
  if (!result.saved) return context.Fail(W("nada foi salvo: ") + result.why);
  return 0;
}

}  // namespace taloven
