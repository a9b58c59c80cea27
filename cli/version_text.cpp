#include "version_text.h"

#include <algorithm>
#include <cstdint>

#include "base/encoding.h"
#include "base/version.h"
#include "fiscalmem/fiscal_memory_library.h"

namespace taloven {
namespace {

std::string LibraryLine(MemoryLibrary which) {
  std::string line = FiscalMemoryLibraryFile(which);
  FiscalMemoryLibrary library(which);
  if (!library.IsLoaded()) return line + W(": não carregada: ") + library.Error() + "\n";
  std::optional<std::string> version = library.Version();
  if (version) std::replace(version->begin(), version->end(), ',', '.');
  line += version ? " " + *version : W(" sem a função KovoVersaoDll");
  return line + " (" + SystemDirectory() + ")\n";
}

}  // namespace

std::string CliVersionText() {
  return std::string("taloven-cli ") + ProgramVersion() + "\n" +
         LibraryLine(MemoryLibrary::kFirst) + LibraryLine(MemoryLibrary::kSecond);
}

}  // namespace taloven
