// The capture's reader thread: it watches the scanner's line, gathers each
// symbol's bytes and judges them. It never touches a window; it tells the
// listener, whose window picks the texts up on its own thread.
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "base/encoding.h"
#include "scanner/scanner_capture.h"

namespace taloven {
namespace {

// Between two attempts to connect again: a server that refuses at once is
// not asked again at once.
constexpr int kReconnectPauseMs = 500;

}  // namespace

void ScannerCapture::Read() {
  // A line that hung up stays hung up, and one that fails every time will
  // not mend: either ends the capture with one message, not one per re-arm.
  // A connection is the exception: it is made again.
  int failures = 0;
  auto giveUp = [&](const std::string& reason) {
    PortError(reason + W("; captura encerrada"));
    listener_.LineLost();
  };
  bool lossShown = false;
  while (!stopping_) {
    if (port_.Descriptor() < 0) {
      // A connection that was lost is made again for the next symbols; said
      // once, however long the server stays away.
      if (!lossShown) PortError(port_.LostText());
      lossShown = true;
      if (!WaitQuiet(std::max(timing_.rearmMs, kReconnectPauseMs))) return;
      // Stopping the capture must not wait for a server that does not answer.
      if (port_.Reconnect([this] { return stopping_.load(); }).ok()) lossShown = false;
      continue;
    }
    pollfd watch[2] = {{port_.Descriptor(), POLLIN | POLLRDHUP, 0}, {wake_[0], POLLIN, 0}};
    const int ready = ::poll(watch, 2, -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      const std::string reason = std::strerror(errno);
      if (++failures >= kScannerLineFailuresToEnd) return giveUp(reason);
      if (!WaitQuiet(timing_.rearmMs)) return;
      continue;
    }
    if (watch[1].revents != 0) return;
    const bool failed = (watch[0].revents & (POLLERR | POLLHUP | POLLNVAL | POLLRDHUP)) != 0;
    if (failed && Queued() == 0 && port_.Reconnects()) {
      // Reading takes in the connection's end; the top of the loop makes it
      // again.
      char last = 0;
      if (port_.ReadSome(&last, 1) == 1) buffer_.push_back(last);
      continue;
    }
    const bool hungUp = (watch[0].revents & POLLHUP) != 0;
    if (failed && Queued() == 0) {
      if (hungUp || ++failures >= kScannerLineFailuresToEnd)
        return giveUp(W("a linha não responde"));
      // Watching it again at once would spin.
      if (!WaitQuiet(timing_.rearmMs)) return;
      continue;
    }
    failures = 0;
    TakeQueued();
    // A symbol arrives over some milliseconds: let the rest of it come.
    if (!WaitQuiet(timing_.settleMs)) return;
    TakeQueued();
    JudgeBuffer();
    bool allRead = false;
    {
      std::lock_guard<std::mutex> hold(lock_);
      allRead = state_.AllRead();
    }
    if (allRead) {
      listener_.AllRead();
      return;
    }
    if (!WaitQuiet(timing_.rearmMs)) return;
  }
}

bool ScannerCapture::WaitQuiet(int ms) {
  // A signal (Ctrl-C for the CLI) may land on this thread: it cuts the
  // wait short but ends nothing.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!stopping_) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    pollfd wake{wake_[0], POLLIN, 0};
    const int ready = ::poll(&wake, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
    if (ready == 0) return true;
    if (ready < 0 && errno == EINTR) continue;
    return false;
  }
  return false;
}

int ScannerCapture::Queued() const {
  return port_.Queued();
}

void ScannerCapture::TakeQueued() {
  char chunk[kScannerBufferBytes];
  while (true) {
    const int queued = Queued();
    if (queued <= 0) return;
    const size_t room = kScannerBufferBytes - buffer_.size();
    // What does not fit is read all the same and thrown away: left queued it
    // would wake the watch again and again, and it would be taken for the
    // start of the next symbol.
    const size_t want = std::min(static_cast<size_t>(queued), room > 0 ? room : sizeof chunk);
    const int got = port_.ReadSome(chunk, want);
    if (got <= 0) return;
    if (room > 0)
      buffer_.append(chunk, static_cast<size_t>(got));
    else
      overflowed_ = true;
  }
}

void ScannerCapture::JudgeBuffer() {
  if (buffer_.empty()) return;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (overflowed_)
      state_.RejectTooLong(buffer_);
    else
      state_.Accept(buffer_);
  }
  buffer_.clear();
  overflowed_ = false;
  listener_.Beep();
  listener_.Refresh();
}

void ScannerCapture::PortError(const std::string& text) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    state_.ShowLineError("Erro na porta " + portName_ + ": " + text);
  }
  listener_.Refresh();
}

}  // namespace taloven
