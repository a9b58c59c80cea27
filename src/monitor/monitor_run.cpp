#include "monitor/monitor_run.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/encoding.h"

namespace taloven {
namespace {

constexpr int kWakeMs = 100;
constexpr int kReopenEveryMs = 1000;

}  // namespace

MonitorRelay::MonitorRelay(MonitorSettings settings, const CommandCatalogue& catalogue,
                           MonitorView& view, PortFactory& ports)
    : settings_(std::move(settings)),
      view_(view),
      watch_(catalogue, settings_.watch, view),
      trace_(ByteTrace::FromEnvironment()),
      printer_(ports) {}

Status MonitorRelay::Start(const std::function<bool()>& cancelled) {
  if (Status opened = program_.Open(settings_.linkPath); !opened.ok()) return opened;
  if (Status opened = printer_.Open(settings_.printerPort, cancelled); !opened.ok()) return opened;
  program_.Settings(&followed_);
  view_.Notice(W("Monitor: o programa usa ") + settings_.linkPath + " (" + program_.DevicePath() +
               W("), a impressora está em ") + settings_.printerPort);
  return {};
}

void MonitorRelay::Serve(const std::function<bool()>& stopRequested) {
  uint8_t buffer[4096];
  while (!stopRequested()) {
    pollfd lines[2] = {{program_.Fd(), POLLIN, 0}, {printer_.Fd(), POLLIN, 0}};
    ::poll(lines, 2, WaitMs());
    if (lines[0].revents & POLLIN) {
      const ssize_t n = ::read(program_.Fd(), buffer, sizeof buffer);
      if (n > 0) {
        FollowProgramSettings();
        const auto count = static_cast<size_t>(n);
        // A port of the factory writes its own trace.
        const bool traced = printer_.Traced();
        // On first, looked at after: the decoding never holds a byte back.
        if (printer_.Fd() >= 0 && !printer_.WriteAll(buffer, count)) Lost();
        if (trace_ && !traced) trace_->Sent(buffer, count);
        watch_.FromProgram(buffer, count, MomentNow());
      }
    }
    if (lines[1].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
      const bool traced = printer_.Traced();
      int n = 0;
      // A connection may have taken in more than one read hands out, and
      // poll does not show what it holds.
      while ((n = printer_.ReadSome(buffer, sizeof buffer, lines[1].revents)) > 0) {
        const auto count = static_cast<size_t>(n);
        WriteAllTo(program_.Fd(), buffer, count);
        if (trace_ && !traced) trace_->Received(buffer, count);
        watch_.FromPrinter(buffer, count, MomentNow());
        if (count < sizeof buffer) break;
      }
      if (n < 0) Lost();
    }
    FollowProgramSettings();
    if (lost_) TryReopen(stopRequested);
    watch_.Tick(MomentNow());
  }
  watch_.Finish(MomentNow());
  if (trace_) trace_->EndExchange();
}

int MonitorRelay::WaitMs() const {
  const int64_t now = MomentNow().ms;
  int64_t wait = kWakeMs;
  if (const int64_t deadline = watch_.NextDeadline(); deadline != 0)
    wait = std::min(wait, deadline - now);
  if (lost_) wait = std::min(wait, reopenAtMs_ - now);
  return static_cast<int>(std::max<int64_t>(wait, 0));
}

// The program sets its line before it writes, so the printer's line follows
// before the bytes go on.
void MonitorRelay::FollowProgramSettings() {
  termios now{};
  if (!program_.Settings(&now) || !LineSettingsDiffer(now, followed_)) return;
  followed_ = now;
  if (!printer_.Follow(now)) Lost();
}

void MonitorRelay::Lost() {
  const std::string connection = printer_.LostText();
  printer_.Close();
  if (lost_) return;
  lost_ = true;
  reopenAtMs_ = MomentNow().ms + kReopenEveryMs;
  view_.Notice(connection.empty() ? W("Monitor: a porta ") + settings_.printerPort +
                                        W(" da impressora sumiu; nova tentativa a cada segundo")
                                  : "Monitor: " + connection);
}

void MonitorRelay::TryReopen(const std::function<bool()>& stopRequested) {
  const int64_t now = MomentNow().ms;
  if (now < reopenAtMs_) return;
  reopenAtMs_ = now + kReopenEveryMs;
  if (!printer_.Open(settings_.printerPort, stopRequested).ok()) return;
  lost_ = false;
  if (!printer_.Follow(followed_)) return Lost();
  view_.Notice(W("Monitor: a porta ") + settings_.printerPort + W(" da impressora voltou"));
}

Status RunMonitor(const MonitorSettings& settings, const CommandCatalogue& catalogue,
                  PortFactory& ports, MonitorView& view, const std::function<bool()>& stopRequested,
                  MonitorCounts* counts) {
  MonitorRelay relay(settings, catalogue, view, ports);
  if (Status started = relay.Start(stopRequested); !started.ok()) return started;
  relay.Serve(stopRequested);
  if (counts) *counts = relay.Counts();
  return {};
}

}  // namespace taloven
