#include "monitor/frame_watch.h"

#include <algorithm>

#include "base/encoding.h"
#include "link/dump_text.h"
#include "link/execute.h"
#include "link/frame_buffer.h"
#include "link/frame_builder.h"
#include "link/reply_decoder.h"
#include "link/reply_results.h"
#include "monitor/frame_choice.h"
#include "replies/daily_log.h"
#include "replies/hex_dump.h"
#include "replies/status_text.h"
#include "resources/strings.h"

namespace taloven {
namespace {

constexpr const char* kUnknownCommand = "Comando desconhecido";
constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
// The smallest length field: the start byte and the two checksum bytes.
constexpr size_t kShortestBody = 3;
// Command execution's waits: a fixed reply ends unanswered after 42 silent
// reads of about a second and 300 ms pauses, a variable one after 12 reads
// before its header is in.
constexpr int64_t kFixedReplyGapMs = 42 * 1305;
constexpr int64_t kHeaderGapMs = 12 * 1005;
// A NAK alone is the whole answer to a frame the printer did not take.
constexpr int64_t kLoneNakQuietMs = 200;
// The answer to a frame of unknown layout is over once the line is quiet.
constexpr int64_t kUnknownReplyQuietMs = 200;
constexpr int64_t kUnknownReplyPatienceMs = 2000;
// A program that stops half-way through a frame has given it up.
constexpr int64_t kCutFrameQuietMs = 1000;
constexpr int64_t kStrayQuietMs = 50;
// Status bits of a refusal: wrong parameters or command (ST1), command not
// executed or a parameter of the wrong type (ST2).
constexpr uint8_t kRefusedStatus1 = 0x0D;
constexpr uint8_t kRefusedStatus2 = 0x81;

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string text;
  for (uint8_t byte : bytes) AppendDumpByte(text, byte);
  return text.empty() ? text : text.substr(1);
}

std::string TimeLine(const Moment& start, int64_t elapsedMs) {
  return "[" + MomentText(start) + "] " + std::to_string(elapsedMs) + " ms\n";
}

// The status texts on one line, for a table's cell.
std::string OneLine(const std::string& text) {
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (!line.empty() && line.back() != ' ' && i + 1 < text.size()) line += "; ";
      continue;
    }
    line += text[i];
  }
  while (!line.empty() && (line.back() == ' ' || line.back() == ';')) line.pop_back();
  return line;
}

}  // namespace

FrameWatch::FrameWatch(const CommandCatalogue& catalogue, FrameWatchSettings settings,
                       MonitorView& view)
    : catalogue_(catalogue), settings_(std::move(settings)), view_(view) {}

void FrameWatch::FromProgram(const uint8_t* bytes, size_t count, const Moment& now) {
  for (size_t i = 0; i < count; ++i) TakeProgramByte(bytes[i], now);
  if (count > 0) lastProgramMs_ = now.ms;
}

void FrameWatch::FromPrinter(const uint8_t* bytes, size_t count, const Moment& now) {
  for (size_t i = 0; i < count; ++i) {
    // The printer answering a frame still coming means the frame was cut.
    if (reading_ != Reading::kIdle) BadFrame(W("Quadro interrompido"), now);
    if (awaiting_ == Awaiting::kNothing) {
      Stray(bytes[i], '<', now);
    } else {
      TakeReplyByte(bytes[i], now);
    }
  }
}

void FrameWatch::TakeProgramByte(uint8_t byte, const Moment& now) {
  switch (reading_) {
    case Reading::kIdle:
      if (byte != kStx) {
        Stray(byte, '>', now);
        return;
      }
      // A new command: whatever was awaited for the last one has ended.
      if (awaiting_ == Awaiting::kReply) EndExchange(now, false);
      if (awaiting_ == Awaiting::kUnknownReply) EndUnknownReply(now);
      FlushStray(now);
      frame_.assign(1, byte);
      frameStart_ = now;
      reading_ = Reading::kLength;
      return;
    case Reading::kLength: {
      frame_.push_back(byte);
      if (frame_.size() < 3) return;
      const size_t body = frame_[1] | static_cast<size_t>(frame_[2]) << 8;
      frameTotal_ = body + 3;
      if (body < kShortestBody || frameTotal_ > FrameBuffer::kCapacity) {
        BadFrame(W("Quadro com tamanho impossível"), now);
        return;
      }
      reading_ = Reading::kBody;
      return;
    }
    case Reading::kBody:
      frame_.push_back(byte);
      if (frame_.size() == frameTotal_) FrameComplete(now);
      return;
  }
}

void FrameWatch::FrameComplete(const Moment& now) {
  reading_ = Reading::kIdle;
  frameEndMs_ = now.ms;
  lastPrinterMs_ = now.ms;
  reply_.clear();
  unsigned sum = 0;
  for (size_t i = 3; i + 2 < frame_.size(); ++i) sum += frame_[i];
  const unsigned given = frame_[frame_.size() - 2] | frame_[frame_.size() - 1] << 8u;
  if ((sum & 0xFFFF) != given) {
    BadFrame(W("Quadro com soma errada"), now);
    return;
  }
  const uint8_t start = frame_[3];
  if (start != kStartByte && start != kExtendedStartByte) {
    BadFrame(W("Quadro sem ESC nem FS no início"), now);
    return;
  }
  extended_ = start == kExtendedStartByte;
  const std::vector<uint8_t> body(frame_.begin() + 4, frame_.end() - 2);
  const FrameChoice choice = ChooseRecord(catalogue_, body);
  if (choice.index < 0) {
    ++counts_.unknown;
    unknownTitle_ = W(kUnknownCommand);
    unknownStatus_ = unknownTitle_;
    awaiting_ = Awaiting::kUnknownReply;
    return;
  }
  record_ = choice.index;
  guessNote_ = choice.note;
  CommandRecord sent = catalogue_.At(record_);
  sent.frame = frame_;
  variable_ = IsVariableLengthReply(sent);
  const size_t header = extended_ ? kExtendedHeaderCount : kHeaderCount;
  expected_ = variable_ ? header : header + static_cast<size_t>(std::max(sent.returnSize, 0));
  awaiting_ = Awaiting::kReply;
}

void FrameWatch::BadFrame(const std::string& why, const Moment& now) {
  reading_ = Reading::kIdle;
  frameEndMs_ = now.ms;
  lastPrinterMs_ = now.ms;
  reply_.clear();
  ++counts_.badFrames;
  unknownTitle_ = why;
  unknownStatus_ = why;
  awaiting_ = Awaiting::kUnknownReply;
}

void FrameWatch::TakeReplyByte(uint8_t byte, const Moment& now) {
  reply_.push_back(byte);
  lastPrinterMs_ = now.ms;
  if (awaiting_ != Awaiting::kReply) return;
  const size_t header = extended_ ? kExtendedHeaderCount : kHeaderCount;
  const bool whole =
      variable_ ? reply_.size() > header && byte == kEtx : reply_.size() >= expected_;
  if (whole) EndExchange(now, true);
}

void FrameWatch::EndExchange(const Moment& now, bool complete) {
  awaiting_ = Awaiting::kNothing;
  CommandRecord record = catalogue_.At(record_);
  const std::vector<uint8_t> body(frame_.begin() + 4, frame_.end() - 2);
  const std::vector<std::string> values = DecodeParameterValues(record, body);
  std::string text = TimeLine(frameStart_, lastPrinterMs_ - frameEndMs_);
  if (!guessNote_.empty()) text += guessNote_ + "\n";
  for (size_t i = 0; i < record.parameters.size(); ++i) {
    record.parameters[i].value = values[i];
    text += "\t" + record.parameters[i].title + ":\t" + values[i] + "\n";
  }
  record.frame = frame_;
  const bool lone = !complete && reply_.size() == 1 && reply_[0] == kNak;
  if (complete && DecodeReply(record, reply_, extended_) == kDecodeUnfinished) complete = false;
  if (!complete) {
    record.formattedReturn = ResultsHeader(record.title) + Str(StrId::kSendFailed);
  }
  record.dumpText = "CMD: ";
  for (uint8_t byte : frame_) AppendDumpByte(record.dumpText, byte);
  record.dumpText += "\r\nRET: ";
  for (uint8_t byte : reply_) AppendDumpByte(record.dumpText, byte);
  record.dumpText += "\r\n";

  MonitorEntry entry;
  entry.time = MomentText(frameStart_);
  entry.elapsedMs = lastPrinterMs_ - frameEndMs_;
  entry.command = record.title;
  entry.dump = HexDumpText(record.dumpText);
  if (complete) {
    entry.kind = MonitorEntry::Kind::kExchange;
    ++counts_.exchanges;
    const uint8_t first = reply_[0];
    // A fixed reply carries its data between the ACK and the status bytes.
    const size_t at =
        variable_ ? 1 : expected_ - (extended_ ? kExtendedHeaderCount : kHeaderCount) + 1;
    const uint8_t st1 = reply_.size() > at ? reply_[at] : 0;
    const uint8_t st2 = reply_.size() > at + 1 ? reply_[at + 1] : 0;
    entry.refused =
        first == kNak ||
        (first == kAck && ((st1 & kRefusedStatus1) != 0 || (st2 & kRefusedStatus2) != 0));
    if (first == kNak) ++counts_.naks;
    entry.status = first == kAck ? OneLine(StatusText(st1, st2)) : Hex({first});
  } else if (lone) {
    entry.kind = MonitorEntry::Kind::kNak;
    entry.refused = true;
    ++counts_.naks;
    entry.status = "NAK";
    record.formattedReturn += W("\r\nNAK: a impressora não aceitou o quadro");
  } else {
    entry.kind = MonitorEntry::Kind::kNoReply;
    ++counts_.unanswered;
    entry.status = Str(StrId::kSendFailed);
  }
  if (entry.refused) ++counts_.refused;
  entry.text = text + record.formattedReturn + "\n";
  view_.Show(entry);
  if (!settings_.workingDirectory.empty()) {
    std::string failure;
    if (WriteLogRecord(record, settings_.workingDirectory, now.local, &failure) != 0) Log(failure);
  }
}

void FrameWatch::EndUnknownReply(const Moment&) {
  awaiting_ = Awaiting::kNothing;
  MonitorEntry entry;
  const bool badFrame = unknownTitle_ != W(kUnknownCommand);
  entry.kind = badFrame ? MonitorEntry::Kind::kBadFrame : MonitorEntry::Kind::kUnknownCommand;
  entry.time = MomentText(frameStart_);
  entry.elapsedMs = reply_.empty() ? 0 : lastPrinterMs_ - frameEndMs_;
  entry.command = unknownTitle_;
  const bool nak = reply_.size() == 1 && reply_[0] == kNak;
  if (nak) ++counts_.naks;
  entry.status = nak ? "NAK" : (reply_.empty() ? W("sem resposta") : Hex(reply_));
  entry.text = TimeLine(frameStart_, entry.elapsedMs) + unknownTitle_ + ":\t" + Hex(frame_) + "\n" +
               W("Resposta:\t") + (reply_.empty() ? W("nenhuma") : Hex(reply_)) + "\n";
  std::string dump = "CMD: ";
  for (uint8_t byte : frame_) AppendDumpByte(dump, byte);
  dump += "\r\nRET: ";
  for (uint8_t byte : reply_) AppendDumpByte(dump, byte);
  entry.dump = HexDumpText(dump + "\r\n");
  view_.Show(entry);
  reply_.clear();
}

void FrameWatch::Stray(uint8_t byte, char from, const Moment& now) {
  if (from != strayFrom_) FlushStray(now);
  strayFrom_ = from;
  stray_.push_back(byte);
  if (stray_.size() == 1) strayStart_ = now;
  lastStrayMs_ = now.ms;
  ++counts_.strayBytes;
}

void FrameWatch::FlushStray(const Moment&) {
  if (stray_.empty()) return;
  MonitorEntry entry;
  entry.kind = MonitorEntry::Kind::kStrayBytes;
  entry.time = MomentText(strayStart_);
  entry.command = strayFrom_ == '<' ? W("Bytes da impressora fora de quadro")
                                    : W("Bytes do programa fora de quadro");
  entry.status = Hex(stray_);
  // The printer's NAK to bytes it could not take as a frame.
  if (strayFrom_ == '<' && stray_.size() == 1 && stray_[0] == kNak) ++counts_.naks;
  entry.text = "[" + entry.time + "]\n" + entry.command + ":\t" + entry.status + "\n";
  view_.Show(entry);
  stray_.clear();
}

int64_t FrameWatch::ReplyDeadline() const {
  if (awaiting_ == Awaiting::kUnknownReply) {
    if (!reply_.empty()) return lastPrinterMs_ + kUnknownReplyQuietMs;
    return frameEndMs_ +
           (settings_.replyTimeoutMs > 0 ? settings_.replyTimeoutMs : kUnknownReplyPatienceMs);
  }
  if (awaiting_ != Awaiting::kReply) return 0;
  if (reply_.size() == 1 && reply_[0] == kNak) return lastPrinterMs_ + kLoneNakQuietMs;
  if (settings_.replyTimeoutMs > 0) return frameEndMs_ + settings_.replyTimeoutMs;
  const size_t header = extended_ ? kExtendedHeaderCount : kHeaderCount;
  if (!variable_) return lastPrinterMs_ + kFixedReplyGapMs;
  if (reply_.size() < header) return frameEndMs_ + kHeaderGapMs;
  return 0;
}

int64_t FrameWatch::NextDeadline() const {
  int64_t next = ReplyDeadline();
  auto sooner = [&next](int64_t at) {
    if (at != 0 && (next == 0 || at < next)) next = at;
  };
  if (reading_ != Reading::kIdle) sooner(lastProgramMs_ + kCutFrameQuietMs);
  if (!stray_.empty()) sooner(lastStrayMs_ + kStrayQuietMs);
  return next;
}

void FrameWatch::Tick(const Moment& now) {
  if (reading_ != Reading::kIdle && now.ms >= lastProgramMs_ + kCutFrameQuietMs)
    BadFrame(W("Quadro interrompido"), now);
  if (!stray_.empty() && now.ms >= lastStrayMs_ + kStrayQuietMs) FlushStray(now);
  const int64_t deadline = ReplyDeadline();
  if (deadline == 0 || now.ms < deadline) return;
  if (awaiting_ == Awaiting::kReply) EndExchange(now, false);
  if (awaiting_ == Awaiting::kUnknownReply) EndUnknownReply(now);
}

void FrameWatch::Finish(const Moment& now) {
  if (reading_ != Reading::kIdle) BadFrame(W("Quadro interrompido"), now);
  if (awaiting_ == Awaiting::kReply) EndExchange(now, false);
  if (awaiting_ == Awaiting::kUnknownReply) EndUnknownReply(now);
  FlushStray(now);
}

void FrameWatch::Log(const std::string& failure) {
  // Said once: the same failure on every exchange would bury the traffic.
  if (counts_.logFailed) return;
  counts_.logFailed = true;
  view_.Notice(failure);
}

}  // namespace taloven
