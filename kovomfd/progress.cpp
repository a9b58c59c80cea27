#include "progress.h"

#include <atomic>

namespace kovo {
namespace {

std::atomic<KovoProgressCallback> progressCallback{nullptr};
// Only the thread that calls the library reports.
long long lastDone = 0;
long long lastTotal = 0;

// Often enough for the caller's progress bar to move smoothly and for a
// cancel to end the work at once.
constexpr std::chrono::milliseconds kEvery{100};

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

InputProgress::InputProgress(long long total) : total_(total) {
  ForgetProgress();
}

bool InputProgress::Tell(long long done) {
  done_ = done;
  next_ = std::chrono::steady_clock::now() + kEvery;
  cancelled_ = cancelled_ || ReportProgress(done, total_);
  return cancelled_;
}

bool InputProgress::At(long long done) {
  if (cancelled_) return true;
  if (std::chrono::steady_clock::now() < next_) {
    done_ = done;
    return false;
  }
  return Tell(done);
}

bool InputProgress::Whole() {
  return cancelled_ || Tell(total_);
}

}  // namespace kovo

extern "C" KOVO_API void KovoSetProgress(KovoProgressCallback callback) {
  kovo::SetProgressCallback(callback);
}
