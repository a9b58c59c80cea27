#pragma once

#include <chrono>

#include "kovo_mfd.h"

namespace kovo {

// The caller's progress callback (KovoSetProgress), or none.
void SetProgressCallback(KovoProgressCallback callback);
// Tells the callback how far a download is; true when the caller cancels.
bool ReportProgress(long long done, long long total);
// Asks the callback again with the figures it was last given (none yet:
// 0 of an unknown total), for work that waits long between reports; true
// when the caller cancels.
bool CancelRequested();
// A new piece of work starts with no figures.
void ForgetProgress();

// The progress of work that goes through an input file of total bytes: the
// callback is told at the first call, then every tenth of a second or so,
// and at the whole, for a report of millions of documents would spend more
// on telling than on its work. Once the caller cancels, every call says so.
class InputProgress {
 public:
  explicit InputProgress(long long total);
  // done bytes of the input used; true when the caller cancels.
  bool At(long long done);
  // Asks again with the same figures, for work past the input that still
  // takes a while; true when the caller cancels.
  bool Look() { return At(done_); }
  // The input is used up and the work done.
  bool Whole();
  bool Cancelled() const { return cancelled_; }

 private:
  bool Tell(long long done);

  long long total_;
  long long done_ = 0;
  std::chrono::steady_clock::time_point next_{};
  bool cancelled_ = false;
};

}  // namespace kovo
