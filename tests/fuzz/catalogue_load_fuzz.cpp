// The catalogue loader on arbitrary bytes: whatever the file holds, loading
// ends, and every record it yields can be encoded.
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "catalogue/catalogue.h"
#include "fuzz_files.h"
#include "link/frame_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace taloven;
  const std::filesystem::path file = fuzz::WriteScratch("comandos.xml", fuzz::Bytes(data, size));
  CommandCatalogue catalogue;
  static_cast<void>(LoadCatalogue(file.parent_path().string(), catalogue));
  for (CommandRecord record : catalogue.Records()) BuildCommandFrame(record, record.title.empty());
  return 0;
}
