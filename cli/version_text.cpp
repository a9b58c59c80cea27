#include "version_text.h"

#include <algorithm>
#include <cstdint>

#include "base/encoding.h"
#include "base/version.h"
#include "fiscalmem/fiscal_memory_library.h"

namespace taloven {
namespace {

std::string LibraryLine(uint32_t modelMask) {
  std::string line = FiscalMemoryLibraryFile(modelMask);
  FiscalMemoryLibrary library(modelMask);
  if (!library.IsLoaded()) return line + W(": não carregada: ") + library.Error() + "\n";
  std::optional<std::string> version = library.Version();
  if (version) std::replace(version->begin(), version->end(), ',', '.');
  line += version ? " " + *version : W(" sem a função KovoVersaoDll");
  return line + " (" + SystemDirectory() + ")\n";
}

}  // namespace

std::string CliVersionText() {
  // Masks 0 and 0xFFFF are served by the first and the second library.
  return std::string("taloven-cli ") + ProgramVersion() + "\n" + LibraryLine(0) +
         LibraryLine(0xFFFF);
}

}  // namespace taloven
