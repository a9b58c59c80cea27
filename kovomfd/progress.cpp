#include "progress.h"

#include <atomic>

namespace kovo {
namespace {

std::atomic<KovoProgressCallback> progressCallback{nullptr};
// Only the thread that calls the library reports.
long long lastDone = 0;
long long lastTotal = 0;

}  // namespace

void SetProgressCallback(KovoProgressCallback callback) {
  progressCallback.store(callback);
}

bool ReportProgress(long long done, long long total) {
  lastDone = done;
  lastTotal = total;
  const KovoProgressCallback callback = progressCallback.load();
  return callback != nullptr && callback(done, total) != 0;
}

bool CancelRequested() {
  return ReportProgress(lastDone, lastTotal);
}

void ForgetProgress() {
  lastDone = lastTotal = 0;
}

}  // namespace kovo

extern "C" KOVO_API void KovoSetProgress(KovoProgressCallback callback) {
  kovo::SetProgressCallback(callback);
}
