#pragma once

#include <memory>
#include <string>

#include "link/byte_trace.h"
#include "link/drive_c.h"
#include "link/port.h"

namespace taloven {

// The exchange with a program standing in for the printer, through two files
// in the "C:\" directory (DriveCDirectory): the system's side (role 0)
// appends frames to "comando.dat" and reads "retorno.dat"; the counterpart
// (role 1) does the opposite. A file holds only what its reader has not yet
// taken.
class FilePort : public Port {
 public:
  static constexpr int kSystemRole = 0;
  static constexpr int kCounterpartRole = 1;

  static std::string CommandFilePath();
  static std::string ReplyFilePath();

  // Empties the command file, so that a command left over from an earlier
  // exchange never reaches the counterpart. A "C:\" directory that may not be
  // used (Refusal) is left untouched, and every transfer then fails.
  explicit FilePort(std::string name);
  ~FilePort() override;

  // 1 when the file this role reads from is open (created if missing).
  int Open(int role) override;
  void Close() override;
  // Byte transfers are not offered: the file exchange goes by blocks.
  int Write(const uint8_t*, int, int) override { return 0; }
  int Read(uint8_t*, int, int) override { return 0; }
  // Discards what waits in the file this side reads.
  int Purge() override;
  // Appends the bytes to the file the other side reads.
  int WriteBlock(const uint8_t* bytes, int count, unsigned* written) override;
  // Takes up to maxCount bytes from the start of the file this side reads;
  // what it does not take stays in the file.
  int ReadBlock(uint8_t* buffer, int maxCount, unsigned* read) override;
  void Run(PortExchange& exchange) override { exchange.OverFile(*this); }

  // The number of bytes waiting to be read.
  int PendingBytes();

  int Role() const { return role_; }
  const DriveC& Drive() const { return drive_; }
  bool Refused() const { return drive_.fault != DriveCFault::kNone; }
  // Writes every block that passes down in the trace from now on.
  void TraceTo(std::unique_ptr<ByteTrace> trace) { trace_ = std::move(trace); }

 private:
  std::string ReadPath() const;
  std::string WritePath() const;

  DriveC drive_;
  int role_ = kSystemRole;
  int readFd_ = -1;
  std::unique_ptr<ByteTrace> trace_;
};

}  // namespace taloven
