#include <cstdlib>
#include <optional>

#include "base/encoding.h"
#include "cli_command.h"
#include "interrupt_cancel.h"
#include "link/clock.h"
#include "link_command_support.h"
#include "sequences/reading_compare.h"
#include "sequences/reading_parser.h"
#include "sequences/sequence_name.h"
#include "sequences/sequences_file.h"
#include "sequences/take_reading.h"
#include "sequences/verify_totals.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

constexpr int kDifferencesFound = 9;
constexpr int kMostRepetitions = 99;
constexpr int kLongestWaitSeconds = 99;

// A reading not read counts as zero, which is said on stderr.
TotalsReading ParseStoredReading(CommandContext& context, const char* name) {
  bool found = false;
  const TotalsReading reading =
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
  TotalsReading readings[4];
  const char* names[4] = {kTrainingBefore, kTrainingAfter, kCheckBefore, kCheckAfter};
  for (int i = 0; i < 4; ++i) readings[i] = ParseStoredReading(context, names[i]);
  const TotalsReading expected = Sum(Difference(readings[0], readings[1]), readings[2]);
  return PrintReport(context, CompareReadings(expected, readings[3]));
}

bool ReadOption(const std::string& text, int lower, int upper, int* value) {
  if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  *value = std::atoi(text.c_str());
  return *value >= lower && *value <= upper;
}

// verify train|check NAME [-n REPS] [-w SECONDS]
int RunWithReadings(CommandContext& context, bool training) {
  const std::vector<std::string>& args = context.arguments;
  if (args.size() < 2) return context.UsageError(W("falta o nome da sequência"));
  SequenceRunOptions options;
  for (size_t i = 2; i < args.size(); i += 2) {
    const bool repetitions = args[i] == "-n";
    if (!repetitions && args[i] != "-w")
      return context.UsageError(W("opção desconhecida: ") + context.ToCore(args[i]));
    if (i + 1 >= args.size()) return context.UsageError(W("falta o valor de ") + args[i]);
    const bool valid = repetitions
                           ? ReadOption(args[i + 1], 1, kMostRepetitions, &options.repetitions)
                           : ReadOption(args[i + 1], 0, kLongestWaitSeconds, &options.waitSeconds);
    if (!valid)
      return context.UsageError(repetitions ? W("-n vai de 1 a 99") : W("-w vai de 0 a 99"));
  }

  // The name is found as the sequences window stores it.
  const std::optional<std::string> name = AcceptSequenceName(context.ToCore(args[1]), context.ui);
  if (!name) return 1;
  SavedSequences saved;
  if (const Result<RecordFile> loaded =
          LoadSequences(SequencesFilePath(context.settings.workingDirectory), saved);
      !loaded.ok())
    return context.Fail(DamagedFileKept(loaded.status().message()));
  const CommandSequence* sequence = saved.Find(*name);
  if (!sequence)
    return context.Fail(W("não há sequência salva com o nome \"") + context.ToCore(args[1]) + "\"");

  DefaultPortFactory ports;
  // Ctrl-C and SIGTERM cancel the exchange under way; --timeout bounds each.
  InterruptCancel interrupts;
  std::vector<RefusedCommand> refusals;
  ExecutionContext execution{context.settings,          context.ui, ports, RealClock(),
                             context.options.timeoutMs, &refusals};
  const VerifyRun run = training ? TrainVerifier(*sequence, options, execution)
                                 : CheckVerifier(*sequence, options, execution);
  if (!run.readingsTaken) {
    context.Fail(run.error);
    // A refused reading is among the refusals, which give the status then.
    const int status =
        run.readingResult != 0 ? ExitStatusFor(run.readingResult) : (run.readingRefused ? 0 : 1);
    return WithRefusals(context, refusals, status);
  }
  const int runStatus = run.result == kSequenceCancelled ? 6 : ExitStatusFor(run.result);
  if (!training) {
    // The report still shows what the readings hold; the run's failure is
    // what the status tells.
    if (runStatus != 0) context.Fail(W("a sequência parou: ") + RunErrorText(run.result));
    const int reportStatus = PrintReport(context, run.message);
    return WithRefusals(context, refusals, runStatus != 0 ? runStatus : reportStatus);
  }
  context.out << context.Out(run.message) << '\n' << std::flush;
  if (!context.out) return 1;
  return WithRefusals(context, refusals, runStatus);
}

}  // namespace

int RunVerifyCommand(CommandContext& context) {
  if (context.arguments.empty()) return context.UsageError(W("falta train, check ou compare"));
  const std::string& form = context.arguments[0];
  if (form == "compare") return CompareStoredReadings(context);
  if (form == "train") return RunWithReadings(context, true);
  if (form == "check") return RunWithReadings(context, false);
  return context.UsageError(W("forma desconhecida: ") + context.ToCore(form));
}

}  // namespace taloven
