#include "printer_line.h"

#include <algorithm>

#include "link/clock.h"
#include "link/file_port.h"
#include "progress.h"
#include "usb/default_port_factory.h"

namespace kovo {
namespace {

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kAck = 0x06;
// A printer may think a while before a reply starts (selecting journal
// records); a broken reply is over once the line has been quiet this long.
constexpr int kFirstBytePatienceMs = 2000;
constexpr int kQuietLineMs = 1000;
// One serial read waits no longer than this, so that deadlines are kept
// and the caller is asked in time.
constexpr int kReadStepMs = 200;
// How often the caller is asked whether to go on while a reply comes.
constexpr int kLookEveryMs = 200;
constexpr int kFilePollMs = 5;
// A byte on the line: start bit, 8 data bits, 2 stop bits.
constexpr int kBitsPerByte = 11;
constexpr int kReplyMarginMs = 2000;
// Status bits that say a command was refused (ST1: wrong parameters or
// command; ST2: not executed or wrong type).
constexpr uint8_t kRefusedSt1 = 0x0D;
constexpr uint8_t kRefusedSt2 = 0x81;

std::string Frame(const std::string& code, const std::string& parameters) {
  std::string body;
  body.push_back(static_cast<char>(kEsc));
  body += code;
  body += parameters;
  unsigned sum = 0;
  for (char c : body) sum += static_cast<uint8_t>(c);
  const size_t length = body.size() + 2;
  std::string frame;
  frame.push_back(static_cast<char>(kStx));
  frame.push_back(static_cast<char>(length & 0xFF));
  frame.push_back(static_cast<char>((length >> 8) & 0xFF));
  frame += body;
  frame.push_back(static_cast<char>(sum & 0xFF));
  frame.push_back(static_cast<char>((sum >> 8) & 0xFF));
  return frame;
}

}  // namespace

PrinterLine::PrinterLine(const std::string& portName) {
  taloven::DefaultPortFactory ports;
  port_ = ports.Create(portName);
  filePort_ = portName == "FILE";
  if (!port_) return;
  // A connection under way asks the caller's progress callback, with
  // nothing known yet, whether to go on.
  port_->WatchCancel([] { return ReportProgress(0, 0); });
  open_ = port_->Open(filePort_ ? taloven::FilePort::kSystemRole : kBaudRate) != 0;
  port_->WatchCancel(nullptr);
  if (open_) port_->Purge();
}

PrinterLine::~PrinterLine() {
  if (port_) port_->Close();
}

bool PrinterLine::Send(const std::string& frame) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(frame.data());
  const int count = static_cast<int>(frame.size());
  if (!filePort_) return port_->Write(bytes, count, 20000) != 0;
  unsigned written = 0;
  return port_->WriteBlock(bytes, count, &written) != 0 && written == frame.size();
}

int PrinterLine::ReplyPatienceMs(size_t bytes) {
  const auto lineMs = static_cast<int>(bytes * kBitsPerByte * 1000 / kBaudRate);
  return 2 * lineMs + kReplyMarginMs;
}

void PrinterLine::AskToGoOn() {
  if (cancelled_) return;
  const int64_t now = taloven::RealClock().MonotonicMs();
  if (now < nextLook_) return;
  nextLook_ = now + kLookEveryMs;
  cancelled_ = CancelRequested();
}

bool PrinterLine::ReceiveByte(uint8_t& byte, int64_t deadline) {
  taloven::Clock& clock = taloven::RealClock();
  if (!filePort_) {
    for (int64_t left = deadline - clock.MonotonicMs(); left > 0;
         left = deadline - clock.MonotonicMs()) {
      AskToGoOn();
      if (port_->Read(&byte, 1, static_cast<int>(std::min<int64_t>(left, kReadStepMs))) != 0)
        return true;
    }
    return false;
  }
  while (pendingAt_ >= pending_.size()) {
    AskToGoOn();
    uint8_t buffer[8192];
    unsigned got = 0;
    port_->ReadBlock(buffer, sizeof buffer, &got);
    if (got > 0) {
      pending_.assign(reinterpret_cast<const char*>(buffer), got);
      pendingAt_ = 0;
      break;
    }
    if (clock.MonotonicMs() >= deadline) return false;
    clock.Sleep(kFilePollMs);
  }
  byte = static_cast<uint8_t>(pending_[pendingAt_++]);
  return true;
}

void PrinterLine::Discard() {
  taloven::Clock& clock = taloven::RealClock();
  uint8_t byte = 0;
  while (ReceiveByte(byte, clock.MonotonicMs() + kQuietLineMs)) {
  }
  pending_.clear();
  pendingAt_ = 0;
}

PrinterLine::Result PrinterLine::Exchange(const std::string& code, const std::string& parameters,
                                          size_t dataSize, std::string& data) {
  data.clear();
  status2_ = 0;
  if (cancelled_) return Result::kCancelled;
  if (!open_) return Result::kNoReply;
  if (!Send(Frame(code, parameters))) return Result::kNoReply;
  // A cancel asked for meanwhile ends the exchange only once its reply has
  // passed (or its time is up): what was left on the line would be read as
  // the reply to whatever command the line carries next.
  const Result result = Receive(dataSize, data);
  if (cancelled_) {
    data.clear();
    return Result::kCancelled;
  }
  return result;
}

PrinterLine::Result PrinterLine::Receive(size_t dataSize, std::string& data) {
  taloven::Clock& clock = taloven::RealClock();
  uint8_t byte = 0;
  if (!ReceiveByte(byte, clock.MonotonicMs() + kFirstBytePatienceMs)) return Result::kNoReply;
  if (byte != kAck) {
    Discard();
    return Result::kBadReply;
  }
  data.resize(dataSize + 2);
  const int64_t deadline = clock.MonotonicMs() + ReplyPatienceMs(data.size());
  for (char& c : data) {
    if (!ReceiveByte(byte, deadline)) {
      data.clear();
      Discard();
      return Result::kBadReply;
    }
    c = static_cast<char>(byte);
  }
  const auto st1 = static_cast<uint8_t>(data[dataSize]);
  const auto st2 = static_cast<uint8_t>(data[dataSize + 1]);
  status2_ = st2;
  data.resize(dataSize);
  if ((st1 & kRefusedSt1) || (st2 & kRefusedSt2)) return Result::kRefused;
  return Result::kOk;
}

}  // namespace kovo
