// Reply judging and formatting for any command of the sample catalogue, on
// arbitrary reply bytes, as Execute would leave the record.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_catalogue.h"
#include "link/reply_decoder.h"
#include "replies/hex_dump.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace taloven;
  fuzz::CommandInput input;
  if (!fuzz::SplitCommandInput(data, size, &input)) return 0;
  const std::vector<uint8_t> reply(input.payload.begin(), input.payload.end());
  DecodeReply(input.record, reply, input.extended);
  HexDumpText(input.record.dumpText);
  return 0;
}
