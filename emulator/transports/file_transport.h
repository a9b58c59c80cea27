#pragma once

#include <memory>
#include <string>

#include "base/result.h"
#include "transports/transport.h"

namespace taloven::emulator {

// The printer's side of the file exchange: takes what the application
// appended to comando.dat (emptying it) and appends replies to retorno.dat,
// both in one directory that stands for the application's "C:\".
class FileTransport : public Transport {
 public:
  static Result<std::unique_ptr<FileTransport>> Open(const std::string& directory);

  int Receive(uint8_t* buffer, size_t capacity, int timeoutMs) override;
  bool Send(const uint8_t* bytes, size_t count) override;
  // A file exchange has no line to drop: the reply simply stops.
  Status Reconnect() override { return {}; }
  std::string Address() const override { return directory_; }

  static constexpr int kPollMs = 2;

 private:
  explicit FileTransport(std::string directory);
  int TakeCommandBytes(uint8_t* buffer, size_t capacity);

  std::string directory_;
  std::string commandPath_;
  std::string replyPath_;
};

}  // namespace taloven::emulator
