#pragma once

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

}  // namespace kovo
