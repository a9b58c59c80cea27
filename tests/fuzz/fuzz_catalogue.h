#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"

namespace taloven::fuzz {

// The sample catalogue, loaded once; the fuzzers that work on commands pick
// theirs from it.
const CommandCatalogue& SampleCatalogue();

// An input of the command fuzzers: a byte choosing the command, a byte of
// flags (bit 0: extended return), then what the fuzzer feeds that command.
struct CommandInput {
  CommandRecord record;
  bool extended = false;
  std::string_view payload;
};
bool SplitCommandInput(const uint8_t* data, size_t size, CommandInput* input);
std::vector<uint8_t> JoinCommandInput(int index, bool extended, std::string_view payload);

// Parameter values travel in a payload separated by zero bytes, one per
// parameter in catalogue order.
std::vector<std::string> SplitValues(std::string_view payload);
std::string JoinValues(const std::vector<std::string>& values);

}  // namespace taloven::fuzz
