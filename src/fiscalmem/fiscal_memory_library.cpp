#include "fiscalmem/fiscal_memory_library.h"

#include <array>
#include <cstdlib>

#include "base/program_files.h"
#include "kovo_mfd.h"

namespace taloven {

std::string FiscalMemoryLibraryFile(MemoryLibrary which) {
  return which == MemoryLibrary::kSecond ? "KovoMFD2.so" : "KovoMFD.so";
}

std::string SystemDirectory() {
  const char* configured = std::getenv("TALOVEN_SYSTEM_DIR");
  if (configured && *configured) return configured;
  return RunningProgramFiles().libraryDirectory;
}

std::string FiscalMemoryLibraryPath(MemoryLibrary which) {
  std::string directory = SystemDirectory();
  if (directory.back() != '/') directory += '/';
  return directory + FiscalMemoryLibraryFile(which);
}

FiscalMemoryLibrary::FiscalMemoryLibrary(MemoryLibrary which)
    : library_(FiscalMemoryLibraryPath(which)) {}

FiscalMemoryLibrary::FiscalMemoryLibrary(ModelMask modelMask)
    : FiscalMemoryLibrary(LibraryOf(modelMask)) {}

std::optional<std::string> FiscalMemoryLibrary::Version() const {
  auto versaoDll = library_.Find<KovoVersaoDllFunction>("KovoVersaoDll");
  if (!versaoDll) return std::nullopt;
  std::array<char, KOVO_VERSION_BUFFER_SIZE> buffer{};
  versaoDll(buffer.data());
  buffer.back() = '\0';  // a library that forgot the end must not run us past the buffer
  return std::string(buffer.data());
}

LibraryCallOutcome FiscalMemoryLibrary::LastCall() const {
  LibraryCallOutcome outcome;
  if (auto damage = library_.Find<KovoDanosIgnoradosFunction>("KovoDanosIgnorados"))
    damage(&outcome.damagedParts, &outcome.damagedBytes);
  if (auto writeError = library_.Find<KovoErroDeGravacaoFunction>("KovoErroDeGravacao")) {
    std::array<char, 512> reason{};
    if (writeError(reason.data(), static_cast<int>(reason.size())) > 0) {
      reason.back() = '\0';
      outcome.writeError = reason.data();
    }
  }
  return outcome;
}

}  // namespace taloven
