#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/port.h"

namespace kovo {

// The library's own dialogue with the printer: one command frame out, one
// fixed-length reply in, over the port the name stands for.
class PrinterLine {
 public:
  // The serial speed the download commands run at.
  static constexpr int kBaudRate = 115200;

  enum class Result { kOk, kNoReply, kBadReply, kRefused };

  explicit PrinterLine(const std::string& portName);
  ~PrinterLine();
  PrinterLine(const PrinterLine&) = delete;
  PrinterLine& operator=(const PrinterLine&) = delete;

  bool IsOpen() const { return open_; }
  // The second status byte of the last reply.
  uint8_t LastStatus2() const { return status2_; }

  // Sends code and parameters and reads ACK, dataSize bytes, ST1, ST2 into
  // data. kRefused: the printer answered but did not execute the command.
  // A careful exchange reads byte by byte, so that a pause of the printer
  // in mid-reply costs nothing; otherwise the reply is read in pieces, which
  // a long pause spoils (the caller then asks again, carefully).
  Result Exchange(const std::string& code, const std::string& parameters, size_t dataSize,
                  std::string& data, bool careful = true);

 private:
  bool Send(const std::string& frame);
  bool ReceiveByte(uint8_t& byte, int patienceMs);
  bool ReceivePiece(uint8_t* bytes, int count);
  // Throws away what is still coming after a broken reply.
  void Discard();

  std::unique_ptr<taloven::Port> port_;
  bool open_ = false;
  bool filePort_ = false;
  std::string pending_;  // file exchange: bytes read but not yet taken
  size_t pendingAt_ = 0;
  uint8_t status2_ = 0;
};

}  // namespace kovo
