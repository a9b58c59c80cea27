#pragma once

#include <string>

#include "link/execute.h"
#include "sequences/command_sequence.h"

namespace taloven {

class Ui;

// Result of a run the user cancelled in its progress window; the other
// non-zero results are Execute's.
constexpr int kSequenceCancelled = -6;

// Sends the sequence's commands in order, gathering their results into
// messageText and their dumps into dumpText between the start and end
// banners. Pauses waitMilliseconds after every successful command and, when
// stepByStep is 1, asks before going on. Returns 0 when every command ran or
// the user stopped at a step-by-step question, the first non-zero result of
// Execute (the run stops there), or kSequenceCancelled.
int RunSequence(CommandSequence& sequence, ExecutionContext& context);

// The text added to the results after a run that did not return 0.
std::string RunErrorText(int result);
// Adds RunErrorText(result) to message on a line of its own: a run cancelled
// between commands leaves the last reply's text open.
void AppendRunError(std::string& message, int result);

// What the sequences window's fields ask of "Executar".
struct SequenceRunOptions {
  int repetitions = 1;  // 0 or less still runs once
  int waitSeconds = 0;
  bool stepByStep = false;
};

// The texts of every repetition, one after the other.
struct SequenceRunResults {
  int result = 0;  // of the last repetition run
  std::string message;
  std::string dump;
};

enum class RepetitionWait { kNone, kWaitWindow };

// Runs fresh copies of sequence (never the sequence itself) as often as
// asked, stopping at the first repetition whose result is not 0, and adds
// RunErrorText of that result to the message. With kWaitWindow each
// repetition runs under the wait window.
SequenceRunResults RunSequenceRepeatedly(const CommandSequence& sequence,
                                         const SequenceRunOptions& options,
                                         ExecutionContext& context,
                                         RepetitionWait wait = RepetitionWait::kNone);

// "Executar": the repeated run, then the results window when the settings
// ask for results to be shown. Returns the result of the last repetition.
int ExecuteSequence(const CommandSequence& sequence, const SequenceRunOptions& options,
                    ExecutionContext& context);

// Reads one of the window's number fields. A value outside lower..upper is
// reported and kept; a text that is no number is reported and leaves
// current as it was.
int ReadRunField(const std::string& text, int lower, int upper, int current, Ui& ui);

}  // namespace taloven
