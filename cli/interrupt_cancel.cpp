#include "interrupt_cancel.h"

namespace taloven {
namespace {

volatile std::sig_atomic_t requested = 0;

void Request(int) {
  requested = 1;
}

}  // namespace

InterruptCancel::InterruptCancel() {
  requested = 0;
  struct sigaction action {};
  action.sa_handler = Request;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait in poll or a pause returns at once, so the request
  // is seen without sitting out the rest of a byte's time-out.
  action.sa_flags = 0;
  sigaction(SIGINT, &action, &previousInterrupt_);
  sigaction(SIGTERM, &action, &previousTerminate_);
}

InterruptCancel::~InterruptCancel() {
  sigaction(SIGINT, &previousInterrupt_, nullptr);
  sigaction(SIGTERM, &previousTerminate_, nullptr);
}

bool InterruptCancel::Requested() {
  return requested != 0;
}

}  // namespace taloven
