#include "printer_line.h"

#include <algorithm>

#include "link/clock.h"
#include "link/file_port.h"
#include "usb/default_port_factory.h"

namespace kovo {
namespace {

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kAck = 0x06;
// A printer may think a while before a reply starts (selecting journal
// records); once it sends, bytes follow one another closely.
constexpr int kFirstBytePatienceMs = 2000;
constexpr int kNextBytePatienceMs = 1000;
constexpr int kFilePollMs = 5;
// Bytes asked of the line at once in a hasty exchange.
constexpr size_t kPieceBytes = 256;
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
  open_ = port_ && port_->Open(filePort_ ? taloven::FilePort::kSystemRole : kBaudRate) != 0;
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

bool PrinterLine::ReceiveByte(uint8_t& byte, int patienceMs) {
  if (!filePort_) {
    // The line's own time-out is about a second a byte.
    for (int waited = 0; waited < patienceMs; waited += kNextBytePatienceMs)
      if (port_->Read(&byte, 1, kNextBytePatienceMs) != 0) return true;
    return false;
  }
  taloven::Clock& clock = taloven::RealClock();
  const int64_t deadline = clock.MonotonicMs() + patienceMs;
  while (pendingAt_ >= pending_.size()) {
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

bool PrinterLine::ReceivePiece(uint8_t* bytes, int count) {
  if (filePort_) {
    for (int i = 0; i < count; ++i)
      if (!ReceiveByte(bytes[i], kNextBytePatienceMs)) return false;
    return true;
  }
  return port_->Read(bytes, count, kNextBytePatienceMs * count) != 0;
}

void PrinterLine::Discard() {
  uint8_t byte = 0;
  while (ReceiveByte(byte, kNextBytePatienceMs)) {
  }
  pending_.clear();
  pendingAt_ = 0;
}

PrinterLine::Result PrinterLine::Exchange(const std::string& code, const std::string& parameters,
                                          size_t dataSize, std::string& data, bool careful) {
  data.clear();
  status2_ = 0;
  if (!open_) return Result::kNoReply;
  if (!Send(Frame(code, parameters))) return Result::kNoReply;
  uint8_t byte = 0;
  if (!ReceiveByte(byte, kFirstBytePatienceMs)) return Result::kNoReply;
  if (byte != kAck) {
    Discard();
    return Result::kBadReply;
  }
  data.resize(dataSize + 2);
  auto* bytes = reinterpret_cast<uint8_t*>(data.data());
  for (size_t i = 0; i < data.size();) {
    const size_t piece = careful ? 1 : std::min(kPieceBytes, data.size() - i);
    if (!ReceivePiece(bytes + i, static_cast<int>(piece))) {
      data.clear();
      if (!careful) Discard();
      return Result::kBadReply;
    }
    i += piece;
  }
  const auto st1 = static_cast<uint8_t>(data[dataSize]);
  const auto st2 = static_cast<uint8_t>(data[dataSize + 1]);
  status2_ = st2;
  data.resize(dataSize);
  if ((st1 & kRefusedSt1) || (st2 & kRefusedSt2)) return Result::kRefused;
  return Result::kOk;
}

}  // namespace kovo
