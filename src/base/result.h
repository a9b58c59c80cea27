#pragma once

#include <utility>

#include "base/status.h"

namespace taloven {

// A value, or the Status that says why there is none: for an operation
// that can fail and has something to give back.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  Result(Status failure) : status_(std::move(failure)) {}

  bool ok() const { return status_.ok(); }
  const Status& status() const { return status_; }
  T& value() { return value_; }
  const T& value() const { return value_; }

 private:
  T value_{};
  Status status_;
};

}  // namespace taloven
