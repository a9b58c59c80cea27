#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "monitor/monitor_entry.h"

namespace taloven {

struct FrameWatchSettings {
  // Bounds the wait for a reply from the end of its command; 0 keeps the
  // waits of command execution (a fixed reply is given up after 42 silent
  // reads, a variable one after 12 before its header and never in its text).
  int replyTimeoutMs = 0;
  // Where the daily log is appended; empty leaves the log alone.
  std::string workingDirectory;
};

// Reads the conversation between a program and a printer as it passes,
// frames from the program and replies from the printer, and tells the view
// what each exchange was. It only looks: the bytes have already gone on.
class FrameWatch {
 public:
  FrameWatch(const CommandCatalogue& catalogue, FrameWatchSettings settings, MonitorView& view);

  void FromProgram(const uint8_t* bytes, size_t count, const Moment& now);
  void FromPrinter(const uint8_t* bytes, size_t count, const Moment& now);
  // Ends what the time has ended: a reply that never came, a frame cut
  // short, bytes outside frames followed by silence.
  void Tick(const Moment& now);
  // The steady time at which Tick has something to end; 0 for none.
  int64_t NextDeadline() const;
  // Shows whatever is still open, as the monitor stops.
  void Finish(const Moment& now);

  const MonitorCounts& Counts() const { return counts_; }

 private:
  enum class Reading { kIdle, kLength, kBody };
  enum class Awaiting { kNothing, kReply, kUnknownReply };

  void TakeProgramByte(uint8_t byte, const Moment& now);
  void FrameComplete(const Moment& now);
  void BadFrame(const std::string& why, const Moment& now);
  void TakeReplyByte(uint8_t byte, const Moment& now);
  void EndExchange(const Moment& now, bool complete);
  void EndUnknownReply(const Moment& now);
  void FlushStray(const Moment& now);
  void Stray(uint8_t byte, char from, const Moment& now);
  int64_t ReplyDeadline() const;
  void Log(const std::string& failure);

  const CommandCatalogue& catalogue_;
  FrameWatchSettings settings_;
  MonitorView& view_;
  MonitorCounts counts_;

  Reading reading_ = Reading::kIdle;
  std::vector<uint8_t> frame_;
  size_t frameTotal_ = 0;
  Moment frameStart_;
  int64_t lastProgramMs_ = 0;

  Awaiting awaiting_ = Awaiting::kNothing;
  int record_ = -1;  // the catalogue record of the awaited reply
  std::string guessNote_;
  bool extended_ = false;
  bool variable_ = false;
  size_t expected_ = 0;
  std::vector<uint8_t> reply_;
  int64_t frameEndMs_ = 0;
  int64_t lastPrinterMs_ = 0;
  std::string unknownTitle_;  // what the frame of an unknown reply was
  std::string unknownStatus_;

  std::vector<uint8_t> stray_;
  char strayFrom_ = 0;  // '>' from the program, '<' from the printer
  Moment strayStart_;
  int64_t lastStrayMs_ = 0;
};

}  // namespace taloven
