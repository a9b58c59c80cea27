#include "sequences/sequence_runner.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "link/kept_connections.h"
#include "link/progress_window.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

// A long wait is cut into slices so that Cancel in the progress window is
// seen within one slice instead of at the end of the wait.
constexpr int kPauseSliceMs = 100;
// Keeps the wait in milliseconds within its 32 bits.
constexpr int kLongestWaitSeconds = INT32_MAX / 1000;

std::string Banner(StrId text) {
  return "\r\n" + Str(text) + "\r\n";
}

void PauseWatching(ProgressWindow& progress, Ui& ui, int ms) {
  while (ms > 0 && !progress.Cancelled()) {
    const int slice = std::min(ms, kPauseSliceMs);
    ui.Pause(slice);
    ms -= slice;
    if (!progress.PeekAndPump(true)) progress.Cancel();
  }
}

std::string Fill(std::string text, const std::string& mark, const std::string& value) {
  const size_t at = text.find(mark);
  if (at != std::string::npos) text.replace(at, mark.size(), value);
  return text;
}

}  // namespace

int RunSequence(CommandSequence& sequence, ExecutionContext& outer) {
  // A printer on the network keeps its connection from one command to the
  // next.
  KeptConnections kept(outer.ports);
  ExecutionContext context{outer.settings, outer.ui,        kept,
                           outer.clock,    outer.timeoutMs, outer.refusals};
  sequence.messageText = Banner(StrId::kSequenceStartBanner);
  sequence.dumpText.clear();

  ProgressWindow progress(context.ui);
  progress.GoModal(Str(StrId::kRunningSequence), false);
  progress.SetRange(0, static_cast<int>(sequence.commands.size()), 1);

  for (CommandRecord& command : sequence.commands) {
    if (!progress.PeekAndPump(true)) progress.Cancel();
    if (progress.Cancelled()) return kSequenceCancelled;
    progress.StepIt();

    const int result = Execute(command, context);
    sequence.messageText += command.formattedReturn;
    sequence.dumpText += command.dumpText;
    if (result != kExecuteOk) {
      sequence.messageText += "\r\n" + Banner(StrId::kSequenceEndBanner);
      return result;
    }
    PauseWatching(progress, context.ui, sequence.waitMilliseconds);

    if (sequence.stepByStep == 1 &&
        context.ui.Message(Str(StrId::kContinueSequence), Str(StrId::kProductName),
                           MessageButtons::OkCancel,
                           MessageIcon::Question) == MessageAnswer::Cancel)
      return kExecuteOk;
  }
  sequence.messageText += "\r\n" + Banner(StrId::kSequenceEndBanner);
  return kExecuteOk;
}

std::string RunErrorText(int result) {
  switch (result) {
    case kSequenceCancelled:
      return Str(StrId::kSequenceCancelled);
    case kExecuteCancelled:
      return Str(StrId::kCommandCancelled);
    case kExecuteNoReply:
      return Str(StrId::kSendFailed);
    case kExecuteWrongSize:
      return Str(StrId::kParameterWrongSize);
    case kExecuteMandatoryEmpty:
      return Str(StrId::kMandatoryParameterEmpty);
    default:
      return Str(StrId::kError);
  }
}

void AppendRunError(std::string& message, int result) {
  if (!message.empty() && !message.ends_with("\r\n")) message += "\r\n";
  message += RunErrorText(result);
}

SequenceRunResults RunSequenceRepeatedly(const CommandSequence& sequence,
                                         const SequenceRunOptions& options,
                                         ExecutionContext& context, RepetitionWait wait) {
  SequenceRunResults results;
  int remaining = options.repetitions;
  do {
    CommandSequence run;
    run.name = sequence.name;
    for (const CommandRecord& command : sequence.commands) run.InsertCommand(command);
    run.stepByStep = options.stepByStep ? 1 : 0;
    run.waitMilliseconds = std::clamp(options.waitSeconds, 0, kLongestWaitSeconds) * 1000;

    {
      std::unique_ptr<WaitHandle> window;
      if (wait == RepetitionWait::kWaitWindow)
        window = context.ui.ShowWait(Str(StrId::kPleaseWait));
      results.result = RunSequence(run, context);
    }
    results.message += run.messageText;
    if (results.result != kExecuteOk) AppendRunError(results.message, results.result);
    results.dump += run.dumpText;
    --remaining;
  } while (remaining > 0 && results.result == kExecuteOk);
  return results;
}

int ExecuteSequence(const CommandSequence& sequence, const SequenceRunOptions& options,
                    ExecutionContext& context) {
  SequenceRunResults results = RunSequenceRepeatedly(sequence, options, context);
  if (context.settings.showResults) context.ui.ShowResults(results.message, results.dump);
  return results.result;
}

int ReadRunField(const std::string& text, int lower, int upper, int current, Ui& ui) {
  const size_t first = text.find_first_not_of(' ');
  const size_t last = text.find_last_not_of(' ');
  const std::string trimmed =
      first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  const size_t digitsFrom = !trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+') ? 1 : 0;
  if (trimmed.size() <= digitsFrom || trimmed.size() > 9 ||
      trimmed.find_first_not_of("0123456789", digitsFrom) != std::string::npos) {
    ui.Message(Str(StrId::kEnterInteger), Str(StrId::kProductName), MessageButtons::Ok,
               MessageIcon::Exclamation);
    return current;
  }
  const int value = std::atoi(trimmed.c_str());
  if (value < lower || value > upper) {
    ui.Message(Fill(Fill(Str(StrId::kEnterIntegerBetween), "%1", std::to_string(lower)), "%2",
                    std::to_string(upper)),
               Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
  }
  return value;
}

}  // namespace taloven
