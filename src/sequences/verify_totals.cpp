#include "sequences/verify_totals.h"

#include "base/encoding.h"
#include "resources/strings.h"
#include "sequences/reading_compare.h"
#include "sequences/reading_parser.h"
#include "sequences/take_reading.h"
#include "ui/ui.h"

namespace taloven {
namespace {

bool StoreReading(const char* name, ExecutionContext& context, VerifyRun& run) {
  const std::string path = ReadingPath(context.settings.workingDirectory, name);
  const Status taken = TakeReading(path, context);
  if (taken.ok()) return true;
  run.readingsStored = false;
  // The file system speaks UTF-8; the message is Windows-1252 like every other.
  run.error = W("Não foi possível gravar o arquivo ") + Utf8ToCp1252(path) + ":\n" +
              Utf8ToCp1252(taken.message());
  return false;
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
  return ParseReading(ReadingPath(context.settings.workingDirectory, name));
}

}  // namespace

VerifyRun TrainVerifier(const CommandSequence& sequence, const SequenceRunOptions& options,
                        ExecutionContext& context) {
  VerifyRun run;
  if (!StoreReading(kTrainingBefore, context, run)) return run;
  RunRepeatedly(sequence, options, context, run);
  StoreReading(kTrainingAfter, context, run);
  return run;
}

VerifyRun CheckVerifier(const CommandSequence& sequence, const SequenceRunOptions& options,
                        ExecutionContext& context) {
  VerifyRun run;
  if (!StoreReading(kCheckBefore, context, run)) return run;
  RunRepeatedly(sequence, options, context, run);
  if (!StoreReading(kCheckAfter, context, run)) return run;
  const TotalsReading expected = Sum(
      Difference(StoredReading(context, kTrainingBefore), StoredReading(context, kTrainingAfter)),
      StoredReading(context, kCheckBefore));
  run.message = CompareReadings(expected, StoredReading(context, kCheckAfter));
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
  if (!run.readingsStored) {
    ui.Message(run.error, Str(StrId::kReturnMessage), MessageButtons::Ok, MessageIcon::Error);
    // Without its readings a verification has nothing true to report; a
    // training run still shows what the printer did.
    if (!training || run.message.empty()) return;
  }
  if (!training || context.settings.showResults) ui.ShowResults(run.message, run.dump);
}

}  // namespace taloven
