#include "fuzz_catalogue.h"

#include <cstdio>
#include <cstdlib>

namespace taloven::fuzz {

const CommandCatalogue& SampleCatalogue() {
  static const CommandCatalogue catalogue = [] {
    CommandCatalogue loaded;
    const Status read = LoadCatalogue(TALOVEN_SOURCE_DIR "/data", loaded);
    if (!read.ok() || loaded.Count() == 0) {
      std::fprintf(stderr, "the sample catalogue did not load: %s\n", read.message().c_str());
      std::abort();
    }
    return loaded;
  }();
  return catalogue;
}

bool SplitCommandInput(const uint8_t* data, size_t size, CommandInput* input) {
  if (size < 2) return false;
  const CommandCatalogue& catalogue = SampleCatalogue();
  input->record = catalogue.At(data[0] % catalogue.Count());
  input->extended = (data[1] & 1) != 0;
  input->payload = std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2);
  return true;
}

std::vector<uint8_t> JoinCommandInput(int index, bool extended, std::string_view payload) {
  std::vector<uint8_t> input{static_cast<uint8_t>(index), static_cast<uint8_t>(extended ? 1 : 0)};
  input.insert(input.end(), payload.begin(), payload.end());
  return input;
}

std::vector<std::string> SplitValues(std::string_view payload) {
  std::vector<std::string> values;
  while (true) {
    const size_t end = payload.find('\0');
    values.emplace_back(payload.substr(0, end));
    if (end == std::string_view::npos) return values;
    payload.remove_prefix(end + 1);
  }
}

std::string JoinValues(const std::vector<std::string>& values) {
  std::string payload;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) payload += '\0';
    payload += values[i];
  }
  return payload;
}

}  // namespace taloven::fuzz
