#include "call_outcome.h"

#include <algorithm>
#include <cstring>

#include "base/atomic_file.h"

namespace kovo {

CallOutcome& LastOutcome() {
  thread_local CallOutcome outcome;
  return outcome;
}

int WriteOutput(const std::string& path, const std::string& bytes, int failed) {
  const taloven::Status written = taloven::WriteFileAtomically(path, bytes);
  if (written.ok()) return KOVO_OK;
  LastOutcome().writeError = written.message();
  return failed;
}

}  // namespace kovo

extern "C" KOVO_API void KovoDanosIgnorados(long long* parts, long long* bytes) {
  const kovo::CallOutcome& outcome = kovo::LastOutcome();
  if (parts) *parts = outcome.damagedParts;
  if (bytes) *bytes = outcome.damagedBytes;
}

extern "C" KOVO_API int KovoErroDeGravacao(char* buffer, int size) {
  const std::string& reason = kovo::LastOutcome().writeError;
  if (buffer == nullptr || size <= 0) return static_cast<int>(reason.size());
  const size_t copied = std::min(reason.size(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, reason.data(), copied);
  buffer[copied] = '\0';
  return static_cast<int>(copied);
}
