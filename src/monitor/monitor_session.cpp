#include "monitor/monitor_session.h"

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "ui/connect_watch.h"
#include "ui/ui.h"

namespace taloven {

Status MonitorSession::Start(const MonitorSettings& settings) {
  Stop();
  relay_ = std::make_unique<MonitorRelay>(settings, catalogue_, static_cast<MonitorView&>(*this),
                                          ports_);
  // A connection to a printer on the network that takes long can be
  // stopped from its progress window.
  ConnectWatch watch(ui_);
  if (Status started = relay_->Start([&watch] { return watch.Cancelled(); }); !started.ok()) {
    relay_.reset();
    return started;
  }
  stop_ = false;
  thread_ = std::thread([this] { relay_->Serve([this] { return stop_.load(); }); });
  return {};
}

void MonitorSession::Stop() {
  if (!thread_.joinable()) return;
  stop_ = true;
  thread_.join();
  const std::string summary = SummaryText(relay_->Counts());
  relay_.reset();
  Notice(summary);
  std::lock_guard<std::mutex> lock(mutex_);
  shown_ += summary;
}

void MonitorSession::Show(const MonitorEntry& entry) {
  std::lock_guard<std::mutex> lock(mutex_);
  fresh_.push_back(entry);
  shown_ += entry.text;
}

void MonitorSession::Notice(const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  notices_.push_back(text);
}

std::vector<MonitorEntry> MonitorSession::TakeEntries(std::vector<std::string>* notices) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<MonitorEntry> taken;
  taken.swap(fresh_);
  if (notices) notices->insert(notices->end(), notices_.begin(), notices_.end());
  notices_.clear();
  return taken;
}

bool MonitorSession::Save() {
  const std::optional<std::string> path =
      ui_.SaveFileName("monitor.txt", "txt", {{W("Arquivos de Texto (*.txt)"), "*.txt"}});
  if (!path) return false;
  std::string text;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    text = shown_;
  }
  const Status saved = WriteFileAtomically(*path, text);
  if (saved.ok()) return true;
  ui_.Message(saved.message(), W("Monitor de comunicação"), MessageButtons::Ok, MessageIcon::Error);
  return false;
}

}  // namespace taloven
