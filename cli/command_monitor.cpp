#include "base/atomic_file.h"
#include "base/encoding.h"
#include "cli_command.h"
#include "interrupt_cancel.h"
#include "link_command_support.h"
#include "monitor/monitor_run.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

constexpr int kSaveEveryExchanges = 100;

// Prints each block as it comes; with --save keeps them for the file too.
class PrintingView : public MonitorView {
 public:
  PrintingView(const CommandContext& context, std::string savePath)
      : context_(context), savePath_(std::move(savePath)) {}

  void Show(const MonitorEntry& entry) override {
    std::string block = entry.text;
    if (context_.options.extendedReturn && !entry.dump.empty()) block += entry.dump + "\n";
    context_.out << context_.Out(block) << std::flush;
    if (savePath_.empty()) return;
    shown_ += block;
    if (++sinceSave_ >= kSaveEveryExchanges) Save();
  }

  void Notice(const std::string& text) override { context_.err << context_.Out(text) << std::endl; }

  void Append(const std::string& text) {
    context_.out << context_.Out(text) << std::flush;
    if (!savePath_.empty()) shown_ += text;
  }

  // False, reported once, when the file could not be written.
  bool Save() {
    sinceSave_ = 0;
    if (savePath_.empty()) return true;
    const Status saved = WriteFileAtomically(savePath_, shown_);
    if (saved.ok()) return true;
    if (!saveFailed_) context_.Fail(W("não foi possível gravar ") + saved.message());
    saveFailed_ = true;
    return false;
  }

 private:
  const CommandContext& context_;
  std::string savePath_;
  std::string shown_;
  int sinceSave_ = 0;
  bool saveFailed_ = false;
};

}  // namespace

int RunMonitorCommand(CommandContext& context) {
  MonitorSettings settings;
  std::string savePath;
  const std::vector<std::string>& args = context.arguments;
  for (size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--link" || args[i] == "--save") && i + 1 < args.size() &&
        !args[i + 1].empty()) {
      (args[i] == "--link" ? settings.linkPath : savePath) = args[i + 1];
      ++i;
    } else {
      return context.UsageError(W("argumento inesperado: ") + args[i]);
    }
  }
  if (settings.linkPath.empty()) return context.UsageError(W("falta --link CAMINHO"));
  CommandCatalogue catalogue;
  if (!context.LoadCatalogue(catalogue)) return 1;
  settings.printerPort = context.settings.portName;
  settings.watch.replyTimeoutMs = context.options.timeoutMs;
  settings.watch.workingDirectory = context.settings.workingDirectory;

  PrintingView view(context, savePath);
  if (!view.Save()) return 1;
  MonitorCounts counts;
  Status served;
  {
    InterruptCancel interrupts;
    DefaultPortFactory ports;
    served = RunMonitor(settings, catalogue, ports, view, InterruptCancel::Requested, &counts);
  }
  if (!served.ok()) return context.Fail(served.message());
  view.Append(SummaryText(counts));
  if (!view.Save()) return 1;
  return counts.logFailed ? kLogWriteFailedStatus : 0;
}

}  // namespace taloven
