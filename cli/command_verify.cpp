#include "base/encoding.h"
#include "cli_command.h"
#include "sequences/reading_compare.h"
#include "sequences/reading_parser.h"
#include "sequences/take_reading.h"

namespace taloven {
namespace {

constexpr int kDifferencesFound = 9;

TotalsReading ParseStoredReading(const CommandContext& context, const char* name) {
  bool found = false;
  TotalsReading reading =
      ParseReading(ReadingPath(context.settings.workingDirectory, name), &found);
  if (!found)
    context.err << context.Out(W("taloven-cli: ") + name + W(" não foi lido; conta como zerado"))
                << '\n';
  return reading;
}

// Prints the report; 9 when it shows a difference.
int PrintReport(const CommandContext& context, const std::string& report) {
  context.out << context.Out(report) << std::flush;
  if (!context.out) return 1;
  return ReportHasErrors(report) ? kDifferencesFound : 0;
}

// Expected = LX1B + (LX2 - LX1), found = LX2B.
int CompareStoredReadings(CommandContext& context) {
  if (context.arguments.size() != 1) return context.UsageError(W("compare não leva argumentos"));
  const TotalsReading trainingBefore = ParseStoredReading(context, kTrainingBefore);
  const TotalsReading trainingAfter = ParseStoredReading(context, kTrainingAfter);
  const TotalsReading checkBefore = ParseStoredReading(context, kCheckBefore);
  const TotalsReading checkAfter = ParseStoredReading(context, kCheckAfter);
  const TotalsReading expected = Sum(Difference(trainingBefore, trainingAfter), checkBefore);
  return PrintReport(context, CompareReadings(expected, checkAfter));
}

}  // namespace

int RunVerifyCommand(CommandContext& context) {
  if (context.arguments.empty()) return context.UsageError(W("falta train, check ou compare"));
  const std::string& form = context.arguments[0];
  if (form == "compare") return CompareStoredReadings(context);
  return context.UsageError(W("forma desconhecida: ") + context.ToCore(form));
}

}  // namespace taloven
