#pragma once

#include "catalogue/command_record.h"
#include "catalogue/command_sender.h"
#include "replies/return_format.h"
#include "ui/app_settings.h"

namespace taloven {

class Ui;
class Clock;
class PortFactory;

// Result codes of Execute.
constexpr int kExecuteOk = CommandSender::kCompleted;
constexpr int kExecuteMandatoryEmpty = -2;
constexpr int kExecuteWrongSize = -3;
constexpr int kExecuteNoReply = -4;
constexpr int kExecuteCancelled = -5;

// What one execution reads besides its record: the settings of the moment,
// the user interface for its windows, the ports and the clock.
struct ExecutionContext {
  const AppSettings& settings;
  Ui& ui;
  PortFactory& ports;
  Clock& clock;
  // Bounds the whole exchange, which then ends as unanswered (-4); 0 leaves
  // the waits as they are, a variable reply's text ended only by cancelling.
  int timeoutMs = 0;
  // When set, every command the printer answered but refused is added here,
  // so a caller can tell a run that went through from one the printer took.
  std::vector<RefusedCommand>* refusals = nullptr;
};

// Sends the record's command and reads the reply: 0 when the exchange
// completed (whatever the printer's status says), or a negative code above.
int Execute(CommandRecord& record, ExecutionContext& context);

// Execute's exchange for a frame already in the record, sent as it is, with
// replyLength set to the reply's header count; the reply is read and judged
// by the record's returnSize and fields as Execute reads it.
int ExchangeFrame(CommandRecord& record, ExecutionContext& context);

// Execute as the command dialog's sender.
class ExecutingSender : public CommandSender {
 public:
  explicit ExecutingSender(ExecutionContext context) : context_(context) {}
  int Send(CommandRecord& record) override { return Execute(record, context_); }

 private:
  ExecutionContext context_;
};

}  // namespace taloven
