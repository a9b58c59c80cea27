// The virtual printer's frame decoder on arbitrary line bytes: every frame it
// takes is within bounds, and sent again it decodes to itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "printer/wire_frame.h"

namespace {

using taloven::emulator::BuildFrame;
using taloven::emulator::Frame;
using taloven::emulator::FrameDecoder;

void CheckRoundTrip(const Frame& frame) {
  if (frame.body.size() + 3 > taloven::emulator::kMaxFrameLength) std::abort();
  FrameDecoder again;
  FrameDecoder::Event event = FrameDecoder::Event::kNone;
  for (uint8_t byte : BuildFrame(frame.startByte, frame.body)) event = again.Feed(byte);
  if (event != FrameDecoder::Event::kFrame) std::abort();
  const Frame copy = again.TakeFrame();
  if (copy.startByte != frame.startByte || copy.body != frame.body) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FrameDecoder decoder;
  for (size_t i = 0; i < size; ++i)
    if (decoder.Feed(data[i]) == FrameDecoder::Event::kFrame) CheckRoundTrip(decoder.TakeFrame());
  decoder.LineIdle();
  return 0;
}
