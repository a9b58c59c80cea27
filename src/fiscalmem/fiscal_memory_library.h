#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "fiscalmem/shared_library.h"

namespace taloven {

// Which of the two fiscal-memory libraries serves a printer model: the first
// for masks below 0x1000 and for 0x2000, the second for every other model.
bool UsesSecondFiscalMemoryLibrary(uint32_t modelMask);
// "KovoMFD.so" or "KovoMFD2.so".
std::string FiscalMemoryLibraryFile(uint32_t modelMask);

// Where the libraries are looked for: $TALOVEN_SYSTEM_DIR when set and not
// empty, else the directory the build put them in.
std::string SystemDirectory();
std::string FiscalMemoryLibraryPath(uint32_t modelMask);

// The library is loaded for one operation and released when the returned
// object goes; it has no fallback to the other file.
class FiscalMemoryLibrary {
 public:
  explicit FiscalMemoryLibrary(uint32_t modelMask);

  bool IsLoaded() const { return library_.IsLoaded(); }
  const std::string& Error() const { return library_.Error(); }

  // The version text the library reports (parts separated by commas), or
  // nothing when the library or its version function is missing.
  std::optional<std::string> Version() const;

  // The export of that name (a function-pointer type of kovo_mfd.h), or null.
  template <typename Function>
  Function Find(const char* name) const {
    return library_.Find<Function>(name);
  }

 private:
  SharedLibrary library_;
};

}  // namespace taloven
