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
// A side that takes nothing for this long loses what it did not take: the
// other side must not wait for it.
constexpr int kWritePatienceMs = 1000;

bool WriteAll(int fd, const uint8_t* bytes, size_t count) {
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd, bytes + done, count - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    pollfd room{fd, POLLOUT, 0};
    if (::poll(&room, 1, kWritePatienceMs) <= 0 || (room.revents & (POLLERR | POLLHUP)) != 0)
      return false;
  }
  return true;
}

}  // namespace

MonitorRelay::MonitorRelay(MonitorSettings settings, const CommandCatalogue& catalogue,
                           MonitorView& view)
    : settings_(std::move(settings)),
      view_(view),
      watch_(catalogue, settings_.watch, view),
      trace_(ByteTrace::FromEnvironment()) {}

Status MonitorRelay::Start() {
  if (Status opened = program_.Open(settings_.linkPath); !opened.ok()) return opened;
  if (Status opened = printer_.Open(settings_.printerPort); !opened.ok()) return opened;
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
        // On first, looked at after: the decoding never holds a byte back.
        if (printer_.Fd() >= 0 && !WriteAll(printer_.Fd(), buffer, count)) Lost();
        if (trace_) trace_->Sent(buffer, count);
        watch_.FromProgram(buffer, count, MomentNow());
      }
    }
    if (lines[1].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
      const ssize_t n = ::read(printer_.Fd(), buffer, sizeof buffer);
      if (n > 0) {
        const auto count = static_cast<size_t>(n);
        WriteAll(program_.Fd(), buffer, count);
        if (trace_) trace_->Received(buffer, count);
        watch_.FromPrinter(buffer, count, MomentNow());
      } else if (n == 0 || (errno != EAGAIN && errno != EINTR) ||
                 (lines[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        Lost();
      }
    }
    FollowProgramSettings();
    if (lost_) TryReopen();
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
  printer_.Follow(now);
}

void MonitorRelay::Lost() {
  printer_.Close();
  if (lost_) return;
  lost_ = true;
  reopenAtMs_ = MomentNow().ms + kReopenEveryMs;
  view_.Notice(W("Monitor: a porta ") + settings_.printerPort +
               W(" da impressora sumiu; nova tentativa a cada segundo"));
}

void MonitorRelay::TryReopen() {
  const int64_t now = MomentNow().ms;
  if (now < reopenAtMs_) return;
  reopenAtMs_ = now + kReopenEveryMs;
  if (!printer_.Open(settings_.printerPort).ok()) return;
  lost_ = false;
  printer_.Follow(followed_);
  view_.Notice(W("Monitor: a porta ") + settings_.printerPort + W(" da impressora voltou"));
}

Status RunMonitor(const MonitorSettings& settings, const CommandCatalogue& catalogue,
                  MonitorView& view, const std::function<bool()>& stopRequested,
                  MonitorCounts* counts) {
  MonitorRelay relay(settings, catalogue, view);
  if (Status started = relay.Start(); !started.ok()) return started;
  relay.Serve(stopRequested);
  if (counts) *counts = relay.Counts();
  return {};
}

}  // namespace taloven
