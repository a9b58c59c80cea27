#include "fiscalmem/fiscal_memory_library.h"

#include <array>
#include <cstdlib>

#include "base/program_files.h"
#include "kovo_mfd.h"

namespace taloven {

bool UsesSecondFiscalMemoryLibrary(uint32_t modelMask) {
  return !(modelMask < 0x1000 || modelMask == 0x2000);
}

std::string FiscalMemoryLibraryFile(uint32_t modelMask) {
  return UsesSecondFiscalMemoryLibrary(modelMask) ? "KovoMFD2.so" : "KovoMFD.so";
}

std::string SystemDirectory() {
  const char* configured = std::getenv("TALOVEN_SYSTEM_DIR");
  if (configured && *configured) return configured;
  return RunningProgramFiles().libraryDirectory;
}

std::string FiscalMemoryLibraryPath(uint32_t modelMask) {
  std::string directory = SystemDirectory();
  if (directory.back() != '/') directory += '/';
  return directory + FiscalMemoryLibraryFile(modelMask);
}

FiscalMemoryLibrary::FiscalMemoryLibrary(uint32_t modelMask)
    : library_(FiscalMemoryLibraryPath(modelMask)) {}

std::optional<std::string> FiscalMemoryLibrary::Version() const {
  auto versaoDll = library_.Find<KovoVersaoDllFunction>("KovoVersaoDll");
  if (!versaoDll) return std::nullopt;
  std::array<char, KOVO_VERSION_BUFFER_SIZE> buffer{};
  versaoDll(buffer.data());
  buffer.back() = '\0';  // a library that forgot the end must not run us past the buffer
  return std::string(buffer.data());
}

}  // namespace taloven
