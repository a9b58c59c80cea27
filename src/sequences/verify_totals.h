#pragma once

#include <string>

#include "link/execute.h"
#include "sequences/command_sequence.h"
#include "sequences/sequence_runner.h"

namespace taloven {

// What one training or verification pass gave.
struct VerifyRun {
  // False when a reading was not taken (the exchange failed or the printer
  // refused it) or could not be stored: the pass stopped there, nothing was
  // compared, and error says which reading and why. A training keeps the
  // earlier LX1.txt and LX2.txt then, untouched.
  bool readingsTaken = true;
  std::string error;
  // Of the reading that was not taken: the exchange's result, and whether
  // the printer refused it. Both clear when a file could not be written.
  int readingResult = 0;
  bool readingRefused = false;
  // Training: the runs' results and dumps, with the runner's error text after
  // a failed run. Verification: the comparison report, and whether it found
  // a difference.
  std::string message;
  std::string dump;
  bool differences = false;
  // Of the last run of the sequence: 0, or the first failure, which ended
  // the repetitions.
  int result = 0;
};

// Reading before, the sequence run as often as asked, reading after; the
// two go into LX1.txt and LX2.txt together, and only when both were taken.
// All in the settings' working directory.
VerifyRun TrainVerifier(const CommandSequence& sequence, const SequenceRunOptions& options,
                        ExecutionContext& context);

// The same into LX1B.txt and LX2B.txt, then the report comparing
// LX1B + (LX2 - LX1) with LX2B.
VerifyRun CheckVerifier(const CommandSequence& sequence, const SequenceRunOptions& options,
                        ExecutionContext& context);

// "Verificar": asks "Treinar verificador?"; Yes trains and shows the runs'
// texts when results are to be shown, No verifies and shows the report,
// Cancel does nothing.
void VerifyTotals(const CommandSequence& sequence, const SequenceRunOptions& options,
                  ExecutionContext& context);

}  // namespace taloven
