#pragma once

#include <new>
#include <string>

#include "kovo_mfd.h"

namespace kovo {

// What the last export called on this thread leaves for its caller to ask
// (KovoDanosIgnorados, KovoErroDeGravacao).
struct CallOutcome {
  long long damagedParts = 0;  // journal records or fiscal-memory blocks
  long long damagedBytes = 0;
  std::string writeError;  // the system's reason an output could not be written
};

CallOutcome& LastOutcome();

// Puts an output in place through the atomic writer: KOVO_OK, or failed with
// the system's reason noted for KovoErroDeGravacao.
int WriteOutput(const std::string& path, const std::string& bytes, int failed);

// Runs an export's body after clearing the outcome. No exception may cross
// into a C caller, which could not catch it: memory running out (a huge
// input) ends the call with failed instead.
template <typename Body>
int Guarded(int failed, Body&& body) noexcept {
  try {
    LastOutcome() = {};
    return body();
  } catch (...) {
    return failed;
  }
}

}  // namespace kovo
