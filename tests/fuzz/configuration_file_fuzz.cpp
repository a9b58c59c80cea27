// The printer configurations file reader on arbitrary files. Property: the
// configurations read and saved read back the same, field by field; a list
// that could not be read back is refused, never written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_files.h"
#include "programming/configuration_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace taloven;
  using fuzz::Require;
  ConfigurationList list;
  const Result<RecordFile> read =
      LoadConfigurations(fuzz::WriteScratch("equipamentos.xml", fuzz::Bytes(data, size)), list);
  if (!read.ok()) {
    Require(list.empty(), "a damaged file gives no configuration");
    return 0;
  }
  const std::string saved = fuzz::ScratchPath("saved.xml");
  std::remove(saved.c_str());
  if (!SaveConfigurations(saved, list).ok()) return 0;
  ConfigurationList again;
  const Result<RecordFile> reread = LoadConfigurations(saved, again);
  Require(reread.ok() && reread.value() == RecordFile::Read, "saved configurations read back");
  Require(again == list, "every configuration reads back the same");
  return 0;
}
