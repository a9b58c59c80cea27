#pragma once

#include <termios.h>

#include <functional>
#include <memory>
#include <string>

#include "base/status.h"
#include "catalogue/catalogue.h"
#include "link/byte_trace.h"
#include "monitor/frame_watch.h"
#include "monitor/monitor_entry.h"
#include "monitor/monitor_lines.h"

namespace taloven {

struct MonitorSettings {
  std::string printerPort;  // as the program's settings name it
  std::string linkPath;     // where the program finds its line
  FrameWatchSettings watch;
};

// Stands between the program's line and the printer's: passes every byte,
// each as soon as it comes and unchanged, and shows the view what they were.
// A printer line lost on the way is reopened (a connection made again)
// every second.
class MonitorRelay {
 public:
  MonitorRelay(MonitorSettings settings, const CommandCatalogue& catalogue, MonitorView& view,
               PortFactory& ports);

  // Opens both lines; fails, with the reason, when one cannot be opened or
  // cancelled stopped the connection to the printer.
  Status Start(const std::function<bool()>& cancelled = nullptr);
  // Serves until stopRequested says so (asked at least ten times a second),
  // then shows what is still open.
  void Serve(const std::function<bool()>& stopRequested);
  const MonitorCounts& Counts() const { return watch_.Counts(); }

 private:
  int WaitMs() const;
  void FollowProgramSettings();
  void Lost();
  void TryReopen(const std::function<bool()>& stopRequested);

  MonitorSettings settings_;
  MonitorView& view_;
  FrameWatch watch_;
  std::unique_ptr<ByteTrace> trace_;
  ProgramLine program_;
  PrinterLine printer_;
  termios followed_{};
  bool lost_ = false;
  int64_t reopenAtMs_ = 0;
};

// Start and Serve in one call; counts then holds the summary of the run.
Status RunMonitor(const MonitorSettings& settings, const CommandCatalogue& catalogue,
                  PortFactory& ports, MonitorView& view, const std::function<bool()>& stopRequested,
                  MonitorCounts* counts);

}  // namespace taloven
