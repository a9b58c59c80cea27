#include "base/encoding.h"
#include "cli_command.h"
#include "fiscalmem/mfd_diagnosis_run.h"

namespace taloven {

// taloven-cli mfd diagnose REPORT: the findings go to the working
// directory's diagnotico_mfd.txt, whose path is printed. Finding errors in
// the report is no failure of the command; not reading it whole is.
int RunMfdDiagnoseCommand(CommandContext& context) {
  if (context.arguments.size() != 1 || context.arguments[0].empty())
    return context.UsageError(W("mfd diagnose precisa de um relatório"));
  // The model only decides how "FAB:" lines are read: it comes from the
  // options, never from a printer that need not be there.
  if ((!context.options.modelName.empty() || !context.options.modelMask.empty()) &&
      !context.ResolveModel())
    return 1;

  const DiagnosisOutcome outcome =
      DiagnoseReport(context.ui, context.settings, context.arguments[0]);
  if (outcome.written) context.out << outcome.outputPath << std::endl;
  if (!outcome.problem.empty()) return context.Fail(outcome.problem);
  return context.out ? 0 : 1;
}

}  // namespace taloven
