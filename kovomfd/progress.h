#pragma once

#include "kovo_mfd.h"

namespace kovo {

// The caller's progress callback (KovoSetProgress), or none.
void SetProgressCallback(KovoProgressCallback callback);
// Tells the callback how far a download is; true when the caller cancels.
bool ReportProgress(long long done, long long total);

}  // namespace kovo
