#include "app/about_text.h"

#include <algorithm>

#include "base/version.h"
#include "fiscalmem/fiscal_memory_library.h"
#include "resources/strings.h"

namespace taloven {

std::string AboutText(uint32_t modelMask) {
  std::string text =
      Str(StrId::kVersion) + ": " + ProgramVersion() + " - beta" + "\r\n" + Str(StrId::kVersion);
  text += LibraryOf(modelMask) == MemoryLibrary::kSecond ? " KovoMFD2.DLL: " : " KovoMFD.DLL: ";
  FiscalMemoryLibrary library(modelMask);
  if (std::optional<std::string> version = library.Version()) {
    std::replace(version->begin(), version->end(), ',', '.');
    text += *version;
  }
  return text;
}

}  // namespace taloven
