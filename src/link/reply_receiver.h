#pragma once

#include <cstdint>
#include <string>

#include "catalogue/command_record.h"
#include "link/reply_results.h"
#include "resources/strings.h"

namespace taloven {

class Clock;
class Deadline;
class FilePort;
class Port;
class ProgressWindow;
class Ui;

enum class ReceiveEnd {
  Complete,
  NoReply,
  Cancelled,
  CancelledBeforeReply,  // cancelled while a variable reply was awaited in the file
};

// Reads one reply into the record: replyBytes (the whole fixed reply, or the
// header of a variable one), each byte received added to dumpText, and for a
// variable reply the translated text up to ETX. Keeps the interface alive
// through progress windows and stops when the user cancels.
class ReplyReceiver {
 public:
  // Every wait gives up as unanswered once the deadline has passed.
  ReplyReceiver(CommandRecord& record, Ui& ui, Clock& clock, const Deadline& deadline,
                bool variable, int expectedLength);

  ReceiveEnd OverLine(Port& port);  // serial and USB: byte by byte
  ReceiveEnd OverFile(FilePort& port);

  // The text of a variable reply, translated, without its ETX.
  const std::string& Text() const { return parser_.Text(); }

 private:
  ReceiveEnd FixedOverLine(Port& port);
  ReceiveEnd VariableOverLine(Port& port);
  ReceiveEnd FileGrowth(FilePort& port);
  ReceiveEnd FixedFromFile(FilePort& port);
  ReceiveEnd VariableFromFile(FilePort& port);
  void OpenProgress(ProgressWindow& progress, StrId message, int upper);
  // Logs one byte; for a variable reply, files it as header or text. True
  // when it was the ETX that ends the reply.
  bool TakeVariableByte(uint8_t byte);
  void Log(uint8_t byte);
  // A failed read that came back at once is followed by a pause, so that an
  // endless wait on a dead port costs no CPU.
  void PauseAfterQuickFailure(int64_t startedMs);

  CommandRecord& record_;
  Ui& ui_;
  Clock& clock_;
  const Deadline& deadline_;
  bool variable_;
  int expected_;
  VariableReplyParser parser_;
};

}  // namespace taloven
