// The catalogue loader on arbitrary bytes: whatever the file holds, loading
// ends, and every record it yields can be encoded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/xml_document.h"
#include "link/frame_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace taloven;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CommandCatalogue catalogue;
  static_cast<void>(ForEachElement(bytes, "comandos.xml", "cmd", [&catalogue](const XmlNode& cmd) {
    catalogue.Append(RecordFromCmdNode(cmd, true));
  }));
  for (CommandRecord record : catalogue.Records()) BuildCommandFrame(record, record.title.empty());
  return 0;
}
