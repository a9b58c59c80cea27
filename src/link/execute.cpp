#include "link/execute.h"

#include <memory>
#include <optional>

#include "base/encoding.h"
#include "link/clock.h"
#include "link/deadline.h"
#include "link/drive_c_refusal.h"
#include "link/dump_text.h"
#include "link/file_port.h"
#include "link/frame_builder.h"
#include "link/port.h"
#include "link/progress_window.h"
#include "link/reply_receiver.h"
#include "link/reply_results.h"
#include "replies/daily_log.h"
#include "replies/return_format.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

constexpr int kLineBaudRate = 9600;
constexpr int kSettleAfterPurgeMs = 100;
constexpr int kWriteTimeoutMs = 20000;
constexpr int kSettleAfterWriteMs = 300;
constexpr int kDrainTimeoutMs = 10;
// A line that keeps talking after a cancel is cut off after this much.
constexpr int kDrainLimit = 65536;
constexpr int kStaleReplyPauseMs = 200;
// Stale replies still arriving after this many rounds are left to the
// receive loop rather than holding the command back for good.
constexpr int kStaleReplyRounds = 50;
constexpr int kWriteAttempts = 10;
constexpr int kWriteRetryPauseMs = 100;
void SendOverLine(Port& port, const CommandRecord& record, Ui& ui) {
  // Failures here show as a missing reply.
  port.Purge();
  ui.Pause(kSettleAfterPurgeMs);
  port.Write(record.frame.data(), static_cast<int>(record.frame.size()), kWriteTimeoutMs);
  ui.Pause(kSettleAfterWriteMs);
}

void SendThroughFile(FilePort& port, const CommandRecord& record, Ui& ui,
                     const Deadline& deadline) {
  port.Open(FilePort::kSystemRole);
  auto wait = ui.ShowWait(Str(StrId::kPleaseWait));
  for (int round = 0; round < kStaleReplyRounds && !deadline.Passed(); ++round) {
    port.Purge();
    ui.Pause(kStaleReplyPauseMs);
    if (port.PendingBytes() <= 0) break;
  }
  for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
    unsigned written = 0;
    port.WriteBlock(record.frame.data(), static_cast<int>(record.frame.size()), &written);
    if (written >= record.frame.size()) break;
    ui.Pause(kWriteRetryPauseMs);
  }
}

void StartDump(CommandRecord& record) {
  record.dumpText = "CMD: ";
  for (uint8_t byte : record.frame) AppendDumpByte(record.dumpText, byte);
  record.dumpText += "\r\nRET: ";
}

void DrainLine(Port& port, bool variable, Ui& ui) {
  std::unique_ptr<WaitHandle> wait;
  if (variable) wait = ui.ShowWait(Str(StrId::kPleaseWait));
  uint8_t byte = 0;
  for (int i = 0; i < kDrainLimit && port.Read(&byte, 1, kDrainTimeoutMs); ++i) {
  }
}

void LogExchange(const CommandRecord& record, ExecutionContext& context) {
  std::string failure;
  if (WriteLogRecord(record, context.settings.workingDirectory, context.clock.LocalTime(),
                     &failure) != 0)
    context.ui.LogWriteFailed(failure);
}

// The progress window of an open that takes long enough to be seen (a
// connection under way); a local line or a quick connection shows none.
class OpenWatch {
 public:
  explicit OpenWatch(Ui& ui) : ui_(ui) {}

  bool Cancelled() {
    if (!progress_) {
      progress_ = std::make_unique<ProgressWindow>(ui_);
      progress_->Create(Str(StrId::kProgress), false);
      progress_->SetText(Str(StrId::kConnecting));
    }
    return !progress_->PeekAndPump(true) || progress_->Cancelled();
  }

 private:
  Ui& ui_;
  std::unique_ptr<ProgressWindow> progress_;
};

// Sends the record's frame and takes its reply down the path the port picks.
class FrameExchange : public PortExchange {
 public:
  FrameExchange(CommandRecord& record, ExecutionContext& context, const Deadline& deadline,
                bool variable, int expected)
      : record_(record),
        context_(context),
        deadline_(deadline),
        variable_(variable),
        expected_(expected) {}

  void OverLine(Port& port) override {
    if (!OpenLine(port)) return;
    // A serial device that cannot be opened, or is no terminal, will never
    // answer: say so at once, with the system's reason, rather than after
    // every read attempt has timed out.
    if (!openFailure_.empty()) {
      StartDump(record_);
      record_.dumpText += "\r\n";
      port.Close();
      return;
    }
    SendOverLine(port, record_, context_.ui);
    StartDump(record_);
    end_ = Receiver().OverLine(port);
    // What a cancelled line still sends must not become the next reply.
    if (end_ == ReceiveEnd::Cancelled || end_ == ReceiveEnd::CancelledBeforeReply)
      DrainLine(port, variable_, context_.ui);
  }

  void OverFile(FilePort& port) override {
    if (port.Refused()) {
      refusal_ = DriveCRefusalText(port.Drive());
      StartDump(record_);
      record_.dumpText += "\r\n";
      return;
    }
    SendThroughFile(port, record_, context_.ui, deadline_);
    StartDump(record_);
    end_ = Receiver().OverFile(port);
  }

  // Empty when the port opened or cannot tell why not.
  const std::string& OpenFailure() const { return openFailure_; }
  // Why the file exchange's folder may not be used; empty when it may.
  const std::string& Refusal() const { return refusal_; }
  ReceiveEnd End() const { return end_; }
  const std::string& Text() const { return receiver_->Text(); }

 private:
  // Opens the port, letting the user stop a connection that takes long.
  // False when the user did, or the port could not say why it failed.
  bool OpenLine(Port& port) {
    std::unique_ptr<WaitHandle> notice;
    if (const std::string said = port.OpenNotice(); !said.empty())
      notice = context_.ui.ShowConnection(said);
    OpenWatch watch(context_.ui);
    port.WatchCancel([&watch] { return watch.Cancelled(); });
    const bool opened = port.Open(kLineBaudRate) != 0;
    port.WatchCancel(nullptr);
    if (!opened && port.OpenCancelled()) {
      StartDump(record_);
      port.Close();
      end_ = ReceiveEnd::CancelledBeforeReply;
      return false;
    }
    if (!opened) openFailure_ = port.OpenFailure();
    return true;
  }

  ReplyReceiver& Receiver() {
    return receiver_.emplace(record_, context_.ui, context_.clock, deadline_, variable_, expected_);
  }

  CommandRecord& record_;
  ExecutionContext& context_;
  const Deadline& deadline_;
  const bool variable_;
  const int expected_;
  std::string openFailure_;
  std::string refusal_;
  std::optional<ReplyReceiver> receiver_;
  ReceiveEnd end_ = ReceiveEnd::NoReply;
};

}  // namespace

int Execute(CommandRecord& record, ExecutionContext& context) {
  record.formattedReturn += ResultsHeader(record.title);
  if (const int refused = BuildCommandFrame(record, context.settings.extendedReturn != 0))
    return refused;
  return ExchangeFrame(record, context);
}

int ExchangeFrame(CommandRecord& record, ExecutionContext& context) {
  const bool extended = context.settings.extendedReturn != 0;
  const bool variable = IsVariableLengthReply(record);
  const int expected = variable ? 0 : record.returnSize + record.replyLength;
  const Deadline deadline(context.clock, context.timeoutMs);

  std::unique_ptr<Port> port = context.ports.Create(context.settings.portName);
  if (!port) {
    StartDump(record);
    record.dumpText += "\r\n";
    record.formattedReturn += Str(StrId::kSendFailed);
    LogExchange(record, context);
    return kExecuteNoReply;
  }
  FrameExchange exchange(record, context, deadline, variable, expected);
  port->Run(exchange);
  if (!exchange.Refusal().empty()) {
    port.reset();
    record.formattedReturn += Str(StrId::kSendFailed) + "\r\n" + exchange.Refusal();
    LogExchange(record, context);
    return kExecuteNoReply;
  }
  if (!exchange.OpenFailure().empty()) {
    port.reset();
    record.formattedReturn += Str(StrId::kSendFailed) + "\r\nPorta \"" + context.settings.portName +
                              "\": " + exchange.OpenFailure();
    LogExchange(record, context);
    return kExecuteNoReply;
  }

  const ReceiveEnd end = exchange.End();
  int result = kExecuteOk;
  switch (end) {
    case ReceiveEnd::Complete:
      port->Close();
      if (variable) {
        FormatVariableReply(record, exchange.Text(), extended);
      } else {
        FormatReturnData(record, extended);
      }
      if (context.refusals) {
        if (std::optional<RefusedCommand> refusal = RecordRefusal(record, variable))
          context.refusals->push_back(std::move(*refusal));
      }
      record.dumpText += "\r\n";
      break;
    case ReceiveEnd::NoReply:
      record.dumpText += "\r\n";
      port->Close();
      record.formattedReturn += Str(StrId::kSendFailed);
      result = kExecuteNoReply;
      break;
    case ReceiveEnd::Cancelled:
    case ReceiveEnd::CancelledBeforeReply:
      port->Close();
      record.dumpText += "\r\n";
      record.formattedReturn += end == ReceiveEnd::CancelledBeforeReply
                                    ? std::string("Comando Cancelado!")
                                    : Str(StrId::kCommandCancelled);
      result = kExecuteCancelled;
      break;
  }
  port.reset();
  LogExchange(record, context);
  return result;
}

}  // namespace taloven
