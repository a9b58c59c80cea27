#include "sequences/verify_totals.h"

#include <filesystem>
#include <string_view>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "resources/strings.h"
#include "sequences/reading_compare.h"
#include "sequences/reading_parser.h"
#include "sequences/take_reading.h"
#include "ui/ui.h"

namespace taloven {
namespace {

std::string PathOf(const ExecutionContext& context, const std::string& name) {
  return ReadingPath(context.settings.workingDirectory, name);
}

// A reading that was not taken ends the pass: its text says what the
// exchange gave instead, and nothing may be compared against it.
bool Read(const char* name, ExecutionContext& context, VerifyRun& run, std::string* text) {
  const std::string_view which = name;
  const bool training = which == kTrainingBefore || which == kTrainingAfter;
  const std::string consequence =
      training ? W("o treino anterior fica como estava") : W("nada foi comparado");
  Reading reading = TakeReading(context);
  if (reading.Taken()) {
    *text = std::move(reading.text);
    return true;
  }
  run.readingsTaken = false;
  run.readingResult = reading.result;
  run.readingRefused = reading.refusal.has_value();
  if (reading.refusal) {
    run.error = W("A impressora recusou a leitura X para ") + name + " (" + *reading.refusal +
                "); " + consequence + ".";
  } else {
    run.error = W("A leitura X para ") + name + W(" não foi obtida; ") + consequence + ":\r\n" +
                reading.outcome;
  }
  return false;
}

bool Store(const ExecutionContext& context, const std::string& name, const std::string& text,
           VerifyRun& run) {
  const std::string path = PathOf(context, name);
  const Status written = WriteFileAtomically(path, text);
  if (written.ok()) return true;
  run.readingsTaken = false;
  run.error = CannotWrite(path, written.message());
  return false;
}

// Both files of a training, or neither: each is written aside, then both are
// put in place, so an earlier pair is never left half replaced.
bool StorePair(const ExecutionContext& context, const std::string& before, const std::string& after,
               VerifyRun& run) {
  constexpr const char* kAside = ".novo";
  const std::string names[2] = {kTrainingBefore, kTrainingAfter};
  if (!Store(context, names[0] + kAside, before, run) ||
      !Store(context, names[1] + kAside, after, run)) {
    std::error_code ignored;
    for (const std::string& name : names)
      std::filesystem::remove(PathOf(context, name + kAside), ignored);
    return false;
  }
  for (const std::string& name : names) {
    std::error_code error;
    std::filesystem::rename(PathOf(context, name + kAside), PathOf(context, name), error);
    if (error) {
      run.readingsTaken = false;
      run.error = CannotWrite(PathOf(context, name), error.message());
      return false;
    }
  }
  return true;
}

// Each repetition under the wait window; the texts are kept for a training
// run.
void RunRepeatedly(const CommandSequence& sequence, const SequenceRunOptions& options,
                   ExecutionContext& context, VerifyRun& run) {
  SequenceRunResults results =
      RunSequenceRepeatedly(sequence, options, context, RepetitionWait::kWaitWindow);
  run.result = results.result;
  run.message += results.message;
  run.dump += results.dump;
}

TotalsReading StoredReading(const ExecutionContext& context, const char* name) {
  return ParseReading(PathOf(context, name));
}

}  // namespace

VerifyRun TrainVerifier(const CommandSequence& sequence, const SequenceRunOptions& options,
                        ExecutionContext& context) {
  VerifyRun run;
  std::string before, after;
  if (!Read(kTrainingBefore, context, run, &before)) return run;
  RunRepeatedly(sequence, options, context, run);
  if (!Read(kTrainingAfter, context, run, &after)) return run;
  StorePair(context, before, after, run);
  return run;
}

VerifyRun CheckVerifier(const CommandSequence& sequence, const SequenceRunOptions& options,
                        ExecutionContext& context) {
  VerifyRun run;
  std::string before, after;
  if (!Read(kCheckBefore, context, run, &before)) return run;
  RunRepeatedly(sequence, options, context, run);
  if (!Read(kCheckAfter, context, run, &after)) return run;
  if (!Store(context, kCheckBefore, before, run) || !Store(context, kCheckAfter, after, run))
    return run;
  const TotalsReading expected = Sum(
      Difference(StoredReading(context, kTrainingBefore), StoredReading(context, kTrainingAfter)),
      ParseReadingText(before));
  run.message = CompareReadings(expected, ParseReadingText(after));
  run.dump.clear();
  run.differences = ReportHasErrors(run.message);
  return run;
}

void VerifyTotals(const CommandSequence& sequence, const SequenceRunOptions& options,
                  ExecutionContext& context) {
  Ui& ui = context.ui;
  const MessageAnswer answer = ui.Message(W("Treinar verificador?"), Str(StrId::kProductName),
                                          MessageButtons::YesNoCancel, MessageIcon::Question);
  if (answer != MessageAnswer::Yes && answer != MessageAnswer::No) return;
  const bool training = answer == MessageAnswer::Yes;
  const VerifyRun run = training ? TrainVerifier(sequence, options, context)
                                 : CheckVerifier(sequence, options, context);
  if (!run.readingsTaken) {
    ui.Message(run.error, Str(StrId::kReturnMessage), MessageButtons::Ok, MessageIcon::Error);
    // Without its readings a verification has nothing true to report; a
    // training run still shows what the printer did.
    if (!training || run.message.empty()) return;
  }
  if (!training || context.settings.showResults) ui.ShowResults(run.message, run.dump);
}

}  // namespace taloven
