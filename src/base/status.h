#pragma once

#include <string>
#include <utility>

namespace taloven {

// The outcome of a core operation that can fail: ok, or the reason in
// Windows-1252, ready for a message, and the errno of the system call that
// failed when there was one (0 otherwise). Results the printer protocol fixes
// as numbers (Execute, RunSequence, the ports) keep their numbers.
class [[nodiscard]] Status {
 public:
  Status() = default;
  static Status Failure(std::string message, int systemError = 0) {
    Status status;
    status.failed_ = true;
    status.message_ = std::move(message);
    status.systemError_ = systemError;
    return status;
  }

  bool ok() const { return !failed_; }
  const std::string& message() const { return message_; }
  int systemError() const { return systemError_; }

 private:
  bool failed_ = false;
  std::string message_;
  int systemError_ = 0;
};

}  // namespace taloven
