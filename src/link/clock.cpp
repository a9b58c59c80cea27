#include "link/clock.h"

#include <chrono>
#include <thread>

namespace taloven {

int64_t SystemClock::MonotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::Sleep(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::tm SystemClock::LocalTime() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

Clock& RealClock() {
  static SystemClock clock;
  return clock;
}

}  // namespace taloven
