#include "transports/server.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "printer/state_file.h"

namespace taloven::emulator {
namespace {

constexpr int kBitsPerByte = 11;  // start bit, 8 data bits, two stop bits
constexpr int kIdleWaitMs = 200;

}  // namespace

Server::Server(Transport& transport, Printer& printer, ServerOptions options)
    : transport_(transport), printer_(printer), options_(std::move(options)) {}

bool Server::Run(const std::atomic<bool>& stop) {
  stop_ = &stop;
  while (!stop.load()) {
    if (!Step(kIdleWaitMs)) return false;
  }
  return true;
}

bool Server::Step(int timeoutMs) {
  uint8_t buffer[4096];
  const int got =
      transport_.Receive(buffer, sizeof buffer, decoder_.Busy() ? kFrameGapMs : timeoutMs);
  if (got < 0) {
    error_ = "the line failed";
    return false;
  }
  if (got == 0) {
    if (decoder_.Busy() && decoder_.LineIdle() == FrameDecoder::Event::kReject) {
      const uint8_t nak = kNak;
      transport_.Send(&nak, 1);
    }
    return true;
  }
  for (int i = 0; i < got; ++i) {
    switch (decoder_.Feed(buffer[i])) {
      case FrameDecoder::Event::kFrame:
        Handle(decoder_.TakeFrame());
        break;
      case FrameDecoder::Event::kReject: {
        const uint8_t nak = kNak;
        transport_.Send(&nak, 1);
        break;
      }
      case FrameDecoder::Event::kNone:
        break;
    }
  }
  return true;
}

void Server::Handle(const Frame& frame) {
  Reply reply = printer_.Answer(frame);
  const ShapedReply shaped = ShapeReply(std::move(reply.bytes), reply.statusAt, options_.faults);
  Send(shaped);
  if (options_.verbose) {
    const size_t codeLength = std::min(Printer::CodeLength(frame.body), frame.body.size());
    std::string code;
    for (size_t i = 0; i < codeLength; ++i) {
      if (i > 0) code += ' ';
      code += std::to_string(frame.body[i]);
    }
    std::fprintf(stderr, "command \"%s\": %zu parameter bytes, %zu reply bytes sent\n",
                 code.c_str(), frame.body.size() - codeLength, shaped.bytes.size());
  }
  if (!options_.statePath.empty()) {
    if (const Status saved = SaveStateFile(options_.statePath, printer_.State()); !saved.ok())
      std::fprintf(stderr, "taloven-emulator: cannot save the state: %s\n",
                   saved.message().c_str());
  }
}

void Server::Send(const ShapedReply& reply) {
  using Clock = std::chrono::steady_clock;
  const auto perByte = options_.baud > 0
                           ? std::chrono::microseconds(kBitsPerByte * 1000000LL / options_.baud)
                           : std::chrono::microseconds(0);
  if (perByte.count() == 0 && reply.slowByteMs == 0 && reply.gapMs == 0) {
    if (!reply.bytes.empty()) transport_.Send(reply.bytes.data(), reply.bytes.size());
  } else {
    // Each byte is handed over when a real line would have finished
    // carrying its 11 bits; a gap holds back the bytes after it.
    const auto step = perByte + std::chrono::milliseconds(reply.slowByteMs);
    auto next = Clock::now() + step;
    for (size_t sent = 0; sent < reply.bytes.size(); ++sent) {
      if (reply.gapEvery > 0 && sent > 0 && sent % static_cast<size_t>(reply.gapEvery) == 0)
        next += std::chrono::milliseconds(reply.gapMs);
      // A slow reply may take minutes: a stop request cuts it short.
      while (Clock::now() < next && !Stopping())
        std::this_thread::sleep_until(std::min(next, Clock::now() + kStopCheck));
      if (Stopping()) return;
      if (!transport_.Send(&reply.bytes[sent], 1)) break;
      next += step;
    }
  }
  if (reply.dropLineAtEnd) {
    if (const Status reconnected = transport_.Reconnect(); !reconnected.ok())
      std::fprintf(stderr, "taloven-emulator: cannot offer a new line: %s\n",
                   reconnected.message().c_str());
  }
}

}  // namespace taloven::emulator
