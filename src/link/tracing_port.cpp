#include "link/tracing_port.h"

namespace taloven {
namespace {

// Hands the exchange the tracing port in place of the line it wraps, so that
// its transfers pass through the trace.
class TracedExchange : public PortExchange {
 public:
  TracedExchange(PortExchange& exchange, Port& tracing) : exchange_(exchange), tracing_(tracing) {}
  void OverLine(Port&) override { exchange_.OverLine(tracing_); }
  void OverFile(FilePort& port) override { exchange_.OverFile(port); }

 private:
  PortExchange& exchange_;
  Port& tracing_;
};

}  // namespace

void TracingPort::Close() {
  trace_->EndExchange();
  line_->Close();
}

int TracingPort::Write(const uint8_t* bytes, int count, int timeoutMs) {
  const int result = line_->Write(bytes, count, timeoutMs);
  // A failed write may still have sent part of the bytes, but a line cannot
  // say which; what it was asked to send is what the trace shows.
  if (count > 0) trace_->Sent(bytes, static_cast<size_t>(count));
  return result;
}

int TracingPort::Read(uint8_t* buffer, int count, int timeoutMs) {
  const int result = line_->Read(buffer, count, timeoutMs);
  if (result != 0 && count > 0) trace_->Received(buffer, static_cast<size_t>(count));
  return result;
}

int TracingPort::WriteBlock(const uint8_t* bytes, int count, unsigned* written) {
  const int result = line_->WriteBlock(bytes, count, written);
  if (written && *written > 0) trace_->Sent(bytes, *written);
  return result;
}

int TracingPort::ReadBlock(uint8_t* buffer, int maxCount, unsigned* read) {
  const int result = line_->ReadBlock(buffer, maxCount, read);
  if (read && *read > 0) trace_->Received(buffer, *read);
  return result;
}

int TracingPort::ReadPending(uint8_t* buffer) {
  const int count = line_->ReadPending(buffer);
  if (count > 0) trace_->Received(buffer, static_cast<size_t>(count));
  return count;
}

int TracingPort::TakeAvailable(uint8_t* buffer, int capacity) {
  const int count = line_->TakeAvailable(buffer, capacity);
  if (count > 0) trace_->Received(buffer, static_cast<size_t>(count));
  return count;
}

void TracingPort::Run(PortExchange& exchange) {
  TracedExchange traced(exchange, *this);
  line_->Run(traced);
}

}  // namespace taloven
