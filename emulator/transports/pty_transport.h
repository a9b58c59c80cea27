#pragma once

#include <memory>
#include <string>

#include "base/result.h"
#include "transports/transport.h"

namespace taloven::emulator {

// Serves the master side of a pseudo-terminal; the application opens the
// slave device as its serial port. With a link path, that path is kept a
// symbolic link to the slave for as long as the transport lives.
class PtyTransport : public Transport {
 public:
  static Result<std::unique_ptr<PtyTransport>> Open(const std::string& linkPath);
  ~PtyTransport() override;

  int Receive(uint8_t* buffer, size_t capacity, int timeoutMs) override;
  bool Send(const uint8_t* bytes, size_t count) override;
  Status Reconnect() override;
  std::string Address() const override { return slavePath_; }

 private:
  explicit PtyTransport(std::string linkPath) : linkPath_(std::move(linkPath)) {}
  Status OpenPair();
  void ClosePair();

  std::string linkPath_;
  std::string slavePath_;
  int master_ = -1;
  int slave_ = -1;  // held open so that the line stays raw and never hangs up
};

}  // namespace taloven::emulator
