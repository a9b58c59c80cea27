#include "link/reply_receiver.h"

#include <vector>

#include "link/clock.h"
#include "link/deadline.h"
#include "link/dump_text.h"
#include "link/file_port.h"
#include "link/progress_window.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

constexpr int kByteTimeoutMs = 2000;  // asked of the port; the line has its own
constexpr int kFixedMissPauseMs = 300;
constexpr int kFixedMissLimit = 40;   // the 42nd miss in a row ends the wait
constexpr int kHeaderMissLimit = 10;  // the 12th miss of a header ends it
constexpr int kFileLookMs = 300;
constexpr int kFileMissPauseMs = 100;
constexpr int kFileMissLimit = 10;
constexpr int kWrapRange = 1000;  // variable replies have no known length
constexpr int kQuickFailureMs = 100;

// Lets the interface breathe between attempts. The Cancel button and Escape
// set the flag each loop looks at first; the application closing ends the
// wait at once.
bool QuitRequested(ProgressWindow& progress) {
  return !progress.PeekAndPump(true);
}

}  // namespace

ReplyReceiver::ReplyReceiver(CommandRecord& record, Ui& ui, Clock& clock, const Deadline& deadline,
                             bool variable, int expectedLength)
    : record_(record),
      ui_(ui),
      clock_(clock),
      deadline_(deadline),
      variable_(variable),
      expected_(expectedLength),
      parser_(record) {
  record_.replyBytes.assign(static_cast<size_t>(variable_ ? record_.replyLength : expected_), 0);
}

void ReplyReceiver::OpenProgress(ProgressWindow& progress, StrId message, int upper) {
  progress.Create(Str(StrId::kProgress), false);
  progress.SetText(Str(message));
  progress.SetRange(0, upper, 1);
}

void ReplyReceiver::Log(uint8_t byte) {
  AppendDumpByte(record_.dumpText, byte);
}

bool ReplyReceiver::TakeVariableByte(uint8_t byte) {
  Log(byte);
  return parser_.Take(byte);
}

void ReplyReceiver::PauseAfterQuickFailure(int64_t startedMs) {
  if (clock_.MonotonicMs() - startedMs < kQuickFailureMs) ui_.Pause(kQuickFailureMs);
}

ReceiveEnd ReplyReceiver::OverLine(Port& port) {
  return variable_ ? VariableOverLine(port) : FixedOverLine(port);
}

ReceiveEnd ReplyReceiver::FixedOverLine(Port& port) {
  ProgressWindow progress(ui_);
  OpenProgress(progress, StrId::kReceivingReply, expected_);
  int received = 0, misses = 0;
  while (received < expected_) {
    if (progress.Cancelled()) return ReceiveEnd::Cancelled;
    if (deadline_.Passed()) return ReceiveEnd::NoReply;
    if (port.Read(&record_.replyBytes[static_cast<size_t>(received)], 1, kByteTimeoutMs)) {
      Log(record_.replyBytes[static_cast<size_t>(received)]);
      ++received;
      progress.StepIt();
      misses = 0;
    } else {
      if (port.Gone()) return ReceiveEnd::NoReply;
      ui_.Pause(kFixedMissPauseMs);
      if (misses > kFixedMissLimit) return ReceiveEnd::NoReply;
      ++misses;
    }
    if (QuitRequested(progress)) return ReceiveEnd::Cancelled;
  }
  return ReceiveEnd::Complete;
}

ReceiveEnd ReplyReceiver::VariableOverLine(Port& port) {
  ProgressWindow progress(ui_);
  OpenProgress(progress, StrId::kReceivingReply, kWrapRange);
  int misses = 0;
  while (!parser_.HeaderComplete()) {
    if (progress.Cancelled()) return ReceiveEnd::Cancelled;
    if (deadline_.Passed()) return ReceiveEnd::NoReply;
    uint8_t byte = 0;
    if (port.Read(&byte, 1, kByteTimeoutMs)) {
      TakeVariableByte(byte);
      progress.StepWrap();
    } else {
      if (port.Gone() || misses > kHeaderMissLimit) return ReceiveEnd::NoReply;
      ++misses;
    }
    if (QuitRequested(progress)) return ReceiveEnd::Cancelled;
  }
  // The text may take as long as the printer needs; only the user, or the
  // bound of the exchange when one is set, ends it.
  while (true) {
    if (progress.Cancelled()) return ReceiveEnd::Cancelled;
    if (deadline_.Passed()) return ReceiveEnd::NoReply;
    uint8_t byte = 0;
    const int64_t started = clock_.MonotonicMs();
    if (port.Read(&byte, 1, kByteTimeoutMs)) {
      if (TakeVariableByte(byte)) return ReceiveEnd::Complete;
      progress.StepWrap();
    } else {
      // A line that went away ends the text that was coming over it.
      if (port.Gone()) return ReceiveEnd::NoReply;
      PauseAfterQuickFailure(started);
    }
    if (QuitRequested(progress)) return ReceiveEnd::Cancelled;
  }
}

ReceiveEnd ReplyReceiver::OverFile(FilePort& port) {
  const ReceiveEnd growth = FileGrowth(port);
  if (growth != ReceiveEnd::Complete) return growth;
  return variable_ ? VariableFromFile(port) : FixedFromFile(port);
}

// Follows the reply file while it grows, so that the counterpart can finish
// writing before the bytes are taken.
ReceiveEnd ReplyReceiver::FileGrowth(FilePort& port) {
  ProgressWindow progress(ui_);
  const int upper = variable_ ? kWrapRange : expected_;
  OpenProgress(progress, StrId::kReceivingReply, upper);
  const ReceiveEnd cancelled = variable_ ? ReceiveEnd::CancelledBeforeReply : ReceiveEnd::Cancelled;
  int seen = 0;
  while (true) {
    if (progress.Cancelled()) return cancelled;
    if (deadline_.Passed()) return ReceiveEnd::NoReply;
    ui_.Pause(kFileLookMs);
    const int pending = port.PendingBytes();
    if (pending <= seen) return ReceiveEnd::Complete;
    const int position = progress.Position() + (pending - seen);
    progress.SetPos(variable_ ? position % kWrapRange : position);
    seen = pending;
    if (QuitRequested(progress)) return cancelled;
  }
}

ReceiveEnd ReplyReceiver::FixedFromFile(FilePort& port) {
  ProgressWindow progress(ui_);
  OpenProgress(progress, StrId::kProcessingReply, expected_);
  int received = 0, misses = 0;
  while (received < expected_) {
    if (progress.Cancelled()) return ReceiveEnd::Cancelled;
    if (deadline_.Passed()) return ReceiveEnd::NoReply;
    unsigned got = 0;
    port.ReadBlock(&record_.replyBytes[static_cast<size_t>(received)], expected_ - received, &got);
    if (got > 0) {
      for (unsigned i = 0; i < got; ++i) {
        Log(record_.replyBytes[static_cast<size_t>(received) + i]);
        progress.StepIt();
      }
      received += static_cast<int>(got);
      misses = 0;
    } else {
      ui_.Pause(kFileMissPauseMs);
      if (misses > kFileMissLimit) return ReceiveEnd::NoReply;
      ++misses;
    }
    if (QuitRequested(progress)) return ReceiveEnd::Cancelled;
  }
  return ReceiveEnd::Complete;
}

ReceiveEnd ReplyReceiver::VariableFromFile(FilePort& port) {
  ProgressWindow progress(ui_);
  OpenProgress(progress, StrId::kProcessingReply, kWrapRange);
  std::vector<uint8_t> block;
  while (true) {
    if (progress.Cancelled()) return ReceiveEnd::Cancelled;
    if (deadline_.Passed()) return ReceiveEnd::NoReply;
    const int pending = port.PendingBytes();
    unsigned got = 0;
    if (pending > 0) {
      block.resize(static_cast<size_t>(pending));
      port.ReadBlock(block.data(), pending, &got);
    }
    if (got == 0) ui_.Pause(kFileLookMs);
    for (unsigned i = 0; i < got; ++i) {
      if (TakeVariableByte(block[i])) return ReceiveEnd::Complete;
      progress.StepWrap();
    }
    if (QuitRequested(progress)) return ReceiveEnd::Cancelled;
  }
}

}  // namespace taloven
