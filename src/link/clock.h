#pragma once

#include <cstdint>
#include <ctime>

namespace taloven {

// Time as the link code sees it; tests substitute a clock they drive.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t MonotonicMs() = 0;
  virtual void Sleep(int ms) = 0;
  virtual std::tm LocalTime() = 0;
};

class SystemClock : public Clock {
 public:
  int64_t MonotonicMs() override;
  void Sleep(int ms) override;
  std::tm LocalTime() override;
};

// The process-wide real clock.
Clock& RealClock();

}  // namespace taloven
