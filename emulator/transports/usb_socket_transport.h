#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"
#include "transports/transport.h"

namespace taloven::emulator {

// The printer's USB side, offered on a local stream socket (one application
// at a time). The application sends messages of an operation byte, a 16-bit
// little-endian payload length and the payload; each gets an answer of a
// result byte (0 accepted, 1 stalled), a 16-bit little-endian length and the
// payload:
//   'W' bytes for the printer      -> 16-bit count taken
//   'R' request code 0x81 or 0x80  -> the next reply bytes, at most 8, or the
//                                     8-byte "KOVOOVOK" when there are none
//   'Z' device reset               -> nothing; the pending reply is dropped
// The printer only answers while the server waits for bytes, as a device's
// firmware does between commands.
class UsbSocketTransport : public Transport {
 public:
  static constexpr size_t kMaxAnswer = 8;
  static constexpr int kMessageTimeoutMs = 1000;

  static Result<std::unique_ptr<UsbSocketTransport>> Open(const std::string& path);
  ~UsbSocketTransport() override;

  int Receive(uint8_t* buffer, size_t capacity, int timeoutMs) override;
  bool Send(const uint8_t* bytes, size_t count) override;
  Status Reconnect() override;
  std::string Address() const override { return path_; }

 private:
  explicit UsbSocketTransport(std::string path) : path_(std::move(path)) {}
  // Serves one message of the connected application; false when it left.
  bool ServeMessage();
  bool Answer(uint8_t result, const std::vector<uint8_t>& payload);
  std::vector<uint8_t> NextAnswer();
  void DropClient();

  std::string path_;
  int listener_ = -1;
  int client_ = -1;
  std::vector<uint8_t> received_;  // from the application, not yet taken
  std::deque<uint8_t> pending_;    // reply bytes not yet asked for
};

}  // namespace taloven::emulator
