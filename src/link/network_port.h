#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/network_address.h"
#include "link/port.h"
#include "link/telnet_codec.h"

namespace taloven {

// A printer or scanner behind a serial-to-network server: "tcp://HOST:PORT"
// carries the bytes as they are, "rfc2217://HOST:PORT" speaks Telnet and
// sets the server's line as a local one would be set. Transfers keep the
// serial line's time-outs. A connection the peer drops leaves the port
// Gone; the next Write connects again. Only ever a client: nothing here
// listens.
class NetworkPort : public ByteLinePort {
 public:
  explicit NetworkPort(std::string name);
  ~NetworkPort() override;

  // Connects; the line is the printer's (baudRate, 8 data bits, no parity,
  // two stop bits, no flow control).
  int Open(int baudRate) override;
  // Connects with the given line settings (the scanner's).
  int OpenWith(const LineSettings& line);
  void Close() override;
  int Write(const uint8_t* bytes, int count, int timeoutMs) override;
  int Read(uint8_t* buffer, int count, int timeoutMs) override;
  int Purge() override;

  std::string OpenFailure() const override { return failure_; }
  void WatchCancel(std::function<bool()> cancelled) override { cancelled_ = std::move(cancelled); }
  bool OpenCancelled() const override { return openCancelled_; }
  std::string OpenNotice() const override;
  bool Gone() const override { return opened_ && fd_ < 0; }

  int Descriptor() const override { return fd_; }
  int TakeAvailable(uint8_t* buffer, int capacity) override;
  // Data bytes taken in from the connection and not yet handed out: the
  // descriptor no longer shows them.
  int Buffered() const { return static_cast<int>(pending_.size() - pendingAt_); }

 private:
  bool Connect();
  bool ConnectTo(const void* address, unsigned length, int* error);
  bool Negotiate();
  bool SendRaw(const std::vector<uint8_t>& bytes, int64_t deadline);
  // Takes in what the socket holds, waiting up to waitMs for it: 1 when
  // bytes came (Telnet commands alone count), 0 when none did, -1 when the
  // connection was lost.
  int Fill(int waitMs);
  void Lose();
  size_t TakePending(uint8_t* buffer, size_t count);

  std::optional<NetworkAddress> address_;
  LineSettings line_;
  int fd_ = -1;
  bool opened_ = false;  // between a successful Open and Close
  bool openCancelled_ = false;
  std::string failure_;
  std::function<bool()> cancelled_;
  TelnetCodec codec_;
  std::vector<uint8_t> pending_;
  size_t pendingAt_ = 0;
};

}  // namespace taloven
