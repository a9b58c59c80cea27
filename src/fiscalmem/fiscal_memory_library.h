#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/printer_models.h"
#include "fiscalmem/shared_library.h"

namespace taloven {

// "KovoMFD.so" or "KovoMFD2.so".
std::string FiscalMemoryLibraryFile(MemoryLibrary which);

// Where the libraries are looked for: $TALOVEN_SYSTEM_DIR when set and not
// empty, else the folder that came with the running program (the build's, or
// the installed one).
std::string SystemDirectory();
std::string FiscalMemoryLibraryPath(MemoryLibrary which);

// What a library call left beyond its result, as far as the library tells.
struct LibraryCallOutcome {
  long long damagedParts = 0;  // journal records or fiscal-memory blocks skipped
  long long damagedBytes = 0;
  std::string writeError;  // the system's reason the output was not written
};

// The library is loaded for one operation and released when the returned
// object goes; it has no fallback to the other file.
class FiscalMemoryLibrary {
 public:
  explicit FiscalMemoryLibrary(MemoryLibrary which);
  // The library that serves the model.
  explicit FiscalMemoryLibrary(ModelMask modelMask);

  bool IsLoaded() const { return library_.IsLoaded(); }
  const std::string& Error() const { return library_.Error(); }

  // The version text the library reports (parts separated by commas), or
  // nothing when the library or its version function is missing.
  std::optional<std::string> Version() const;

  // Asked right after a call, on the thread that made it.
  LibraryCallOutcome LastCall() const;

  // The export of that name (a function-pointer type of kovo_mfd.h), or null.
  template <typename Function>
  Function Find(const char* name) const {
    return library_.Find<Function>(name);
  }

 private:
  SharedLibrary library_;
};

}  // namespace taloven
