// Frame encoding of any command of the sample catalogue with arbitrary
// parameter values: every frame the application would send must be one the
// virtual printer's decoder takes, carrying exactly the bytes encoded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_catalogue.h"
#include "link/execute.h"
#include "link/frame_buffer.h"
#include "link/frame_builder.h"
#include "printer/wire_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace taloven;
  fuzz::CommandInput input;
  if (!fuzz::SplitCommandInput(data, size, &input)) return 0;
  const std::vector<std::string> values = fuzz::SplitValues(input.payload);
  for (size_t i = 0; i < input.record.parameters.size(); ++i)
    input.record.parameters[i].value = i < values.size() ? values[i] : std::string();
  if (BuildCommandFrame(input.record, input.extended) != kExecuteOk) return 0;

  const std::vector<uint8_t> frame = input.record.frame;
  if (frame.size() < 7 || frame.size() > FrameBuffer::kCapacity) std::abort();
  emulator::FrameDecoder decoder;
  for (size_t i = 0; i < frame.size(); ++i) {
    const auto event = decoder.Feed(frame[i]);
    const bool last = i + 1 == frame.size();
    if (event !=
        (last ? emulator::FrameDecoder::Event::kFrame : emulator::FrameDecoder::Event::kNone))
      std::abort();
  }
  const emulator::Frame decoded = decoder.TakeFrame();
  const std::vector<uint8_t> body(frame.begin() + 4, frame.end() - 2);
  if (decoded.startByte != frame[3] || decoded.body != body) std::abort();
  return 0;
}
