#pragma once

#include <cstdint>
#include <ctime>

#include "link/clock.h"

namespace taloven::testing {

// A clock that moves only when slept on or advanced by the test.
class TestClock : public Clock {
 public:
  int64_t MonotonicMs() override { return now_; }
  void Sleep(int ms) override {
    if (ms > 0) now_ += ms;
    slept_ += ms > 0 ? ms : 0;
  }
  std::tm LocalTime() override { return local_; }

  void Advance(int64_t ms) { now_ += ms; }
  void SetLocalTime(const std::tm& local) { local_ = local; }
  int64_t TotalSlept() const { return slept_; }

 private:
  int64_t now_ = 1000000;
  int64_t slept_ = 0;
  std::tm local_ = [] {
    std::tm t{};
    t.tm_year = 2006 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 10;
    return t;
  }();
};

}  // namespace taloven::testing
