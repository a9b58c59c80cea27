#pragma once

#include <cstdint>

#include "link/clock.h"

namespace taloven {

// When a bounded exchange must give up; a bound of 0 ms or less never
// passes, for the waits that only the user may end.
class Deadline {
 public:
  Deadline(Clock& clock, int boundMs)
      : clock_(clock), endMs_(boundMs > 0 ? clock.MonotonicMs() + boundMs : 0) {}

  bool Passed() const { return endMs_ != 0 && clock_.MonotonicMs() >= endMs_; }

 private:
  Clock& clock_;
  int64_t endMs_;
};

}  // namespace taloven
