#pragma once

#include <csignal>

namespace taloven {

// While one lives, Ctrl-C (SIGINT) and SIGTERM no longer end the program:
// they ask the exchange under way to stop, as the progress window's Cancel
// does, so that it still ends with its result and its log record. Outside
// that scope the signals keep their usual effect.
class InterruptCancel {
 public:
  InterruptCancel();
  ~InterruptCancel();
  InterruptCancel(const InterruptCancel&) = delete;
  InterruptCancel& operator=(const InterruptCancel&) = delete;

  // Whether a signal asked to stop since the scope began.
  static bool Requested();

 private:
  struct sigaction previousInterrupt_ {};
  struct sigaction previousTerminate_ {};
};

}  // namespace taloven
