#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/status.h"
#include "monitor/monitor_run.h"

namespace taloven {

class Ui;

// The monitor run beside a window: it serves on a thread of its own, and the
// window takes what it showed in batches, so that hundreds of exchanges a
// second never wait for the window.
class MonitorSession : private MonitorView {
 public:
  MonitorSession(const CommandCatalogue& catalogue, Ui& ui, PortFactory& ports)
      : catalogue_(catalogue), ui_(ui), ports_(ports) {}
  ~MonitorSession() override { Stop(); }
  MonitorSession(const MonitorSession&) = delete;
  MonitorSession& operator=(const MonitorSession&) = delete;

  // Opens both lines and starts serving; the reason when a line cannot be
  // opened, or the user stopped a connection that took long.
  Status Start(const MonitorSettings& settings);
  // Ends the serving thread and adds the summary to what was shown.
  void Stop();
  bool Running() const { return thread_.joinable(); }

  // What was shown since the last call: entries, and the monitor's notices.
  std::vector<MonitorEntry> TakeEntries(std::vector<std::string>* notices);

  // Asks where and writes every text shown so far, Windows-1252, through
  // the atomic writer; a failure is told. False when nothing was written.
  bool Save();

 private:
  void Show(const MonitorEntry& entry) override;
  void Notice(const std::string& text) override;

  const CommandCatalogue& catalogue_;
  Ui& ui_;
  PortFactory& ports_;
  std::unique_ptr<MonitorRelay> relay_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;  // guards what follows
  std::vector<MonitorEntry> fresh_;
  std::vector<std::string> notices_;
  std::string shown_;
};

}  // namespace taloven
