#pragma once

#include <memory>

#include "link/byte_trace.h"
#include "link/port.h"

namespace taloven {

// A byte line whose every transfer is written down in a trace; the line
// itself does what it did before.
class TracingPort : public Port {
 public:
  TracingPort(std::unique_ptr<Port> line, std::unique_ptr<ByteTrace> trace)
      : Port(line->Name()), line_(std::move(line)), trace_(std::move(trace)) {}

  int Open(int parameter) override { return line_->Open(parameter); }
  void Close() override;
  int Write(const uint8_t* bytes, int count, int timeoutMs) override;
  int Read(uint8_t* buffer, int count, int timeoutMs) override;
  int Purge() override { return line_->Purge(); }
  int WriteBlock(const uint8_t* bytes, int count, unsigned* written) override;
  int ReadBlock(uint8_t* buffer, int maxCount, unsigned* read) override;
  void Drain(int timeoutMs, int limit) override { line_->Drain(timeoutMs, limit); }
  int ReadPending(uint8_t* buffer) override;
  void Run(PortExchange& exchange) override;
  std::string OpenFailure() const override { return line_->OpenFailure(); }
  void WatchCancel(std::function<bool()> cancelled) override {
    line_->WatchCancel(std::move(cancelled));
  }
  bool OpenCancelled() const override { return line_->OpenCancelled(); }
  std::string OpenNotice() const override { return line_->OpenNotice(); }
  bool Gone() const override { return line_->Gone(); }
  int Descriptor() const override { return line_->Descriptor(); }
  int TakeAvailable(uint8_t* buffer, int capacity) override;

 private:
  std::unique_ptr<Port> line_;
  std::unique_ptr<ByteTrace> trace_;
};

}  // namespace taloven
