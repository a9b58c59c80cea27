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

  // kCancelled: the caller's progress callback asked to stop while the
  // reply was awaited (the reply is let pass all the same), or before.
  enum class Result { kOk, kNoReply, kBadReply, kRefused, kCancelled };

  explicit PrinterLine(const std::string& portName);
  ~PrinterLine();
  PrinterLine(const PrinterLine&) = delete;
  PrinterLine& operator=(const PrinterLine&) = delete;

  bool IsOpen() const { return open_; }
  // The second status byte of the last reply.
  uint8_t LastStatus2() const { return status2_; }

  // Sends code and parameters and reads ACK, dataSize bytes, ST1, ST2 into
  // data. kRefused: the printer answered but did not execute the command.
  // Once the ACK is in, the rest of the reply has a deadline of its own
  // (ReplyPatienceMs), however the line spaces its bytes: USB-serial
  // adapters hand them over in bursts with long gaps between.
  Result Exchange(const std::string& code, const std::string& parameters, size_t dataSize,
                  std::string& data);

  // How long the bytes after the ACK may take in all: twice their time on
  // the line, and two seconds.
  static int ReplyPatienceMs(size_t bytes);

 private:
  bool Send(const std::string& frame);
  // Reads ACK, dataSize bytes and the status into data.
  Result Receive(size_t dataSize, std::string& data);
  // Waits for one byte until the monotonic deadline.
  bool ReceiveByte(uint8_t& byte, int64_t deadline);
  // Asks the progress callback now and then whether to go on: a slow or
  // stalled line keeps a block's reply coming for seconds, and the caller
  // keeps its window alive and its Cancel heard through the callback.
  void AskToGoOn();
  // Throws away what is still coming after a broken reply.
  void Discard();

  std::unique_ptr<taloven::Port> port_;
  bool open_ = false;
  bool filePort_ = false;
  std::string pending_;  // file exchange: bytes read but not yet taken
  size_t pendingAt_ = 0;
  uint8_t status2_ = 0;
  bool cancelled_ = false;
  int64_t nextLook_ = 0;
};

}  // namespace kovo
