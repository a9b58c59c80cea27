#include "progress.h"

#include <atomic>

namespace kovo {
namespace {

std::atomic<KovoProgressCallback> progressCallback{nullptr};

}  // namespace

void SetProgressCallback(KovoProgressCallback callback) {
  progressCallback.store(callback);
}

bool ReportProgress(long long done, long long total) {
  const KovoProgressCallback callback = progressCallback.load();
  return callback != nullptr && callback(done, total) != 0;
}

}  // namespace kovo

extern "C" KOVO_API void KovoSetProgress(KovoProgressCallback callback) {
  kovo::SetProgressCallback(callback);
}
