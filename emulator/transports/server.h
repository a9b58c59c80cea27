#pragma once

#include <atomic>
#include <chrono>
#include <string>

#include "printer/faults.h"
#include "printer/printer.h"
#include "printer/wire_frame.h"
#include "transports/transport.h"

namespace taloven::emulator {

struct ServerOptions {
  int baud = 0;           // 0: reply bytes go out at once
  std::string statePath;  // saved after every command when set
  bool verbose = false;   // one line per command on standard error
  FaultPlan faults;
};

// Moves bytes between a transport and the printer: decodes frames, answers
// them, paces the reply like a real line and applies the faults asked for.
class Server {
 public:
  Server(Transport& transport, Printer& printer, ServerOptions options);

  // Serves until stop is set; false when the line failed (see Error).
  bool Run(const std::atomic<bool>& stop);
  // Waits up to timeoutMs for bytes and handles them; false when the line
  // failed.
  bool Step(int timeoutMs);
  const std::string& Error() const { return error_; }

  // How long the line stays quiet before a half-received frame is refused.
  static constexpr int kFrameGapMs = 200;

 private:
  void Handle(const Frame& frame);
  void Send(const ShapedReply& reply);
  bool Stopping() const { return stop_ != nullptr && stop_->load(); }

  // How often a paced reply looks whether it should stop.
  static constexpr std::chrono::milliseconds kStopCheck{100};

  Transport& transport_;
  Printer& printer_;
  ServerOptions options_;
  FrameDecoder decoder_;
  std::string error_;
  const std::atomic<bool>* stop_ = nullptr;
};

}  // namespace taloven::emulator
