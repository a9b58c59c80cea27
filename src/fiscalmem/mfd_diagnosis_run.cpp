#include "fiscalmem/mfd_diagnosis_run.h"

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "fiscalmem/mfd_diagnosis.h"
#include "fiscalmem/offer_to_open.h"
#include "fiscalmem/report_line_reader.h"
#include "link/progress_window.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

constexpr int kProgressRange = 1000;

std::string OutputPath(const AppSettings& settings) {
  std::string directory = settings.workingDirectory.empty() ? "." : settings.workingDirectory;
  if (directory.back() != '/') directory += '/';
  return directory + kDiagnosisFileName;
}

// The bar follows the part of the file read: a step per line would fill a
// range of 1000 after the first thousand lines of a report of millions.
int ProgressPosition(const ReportLineReader& reader) {
  if (reader.Size() == 0) return 0;
  return static_cast<int>(reader.BytesRead() * kProgressRange / reader.Size());
}

}  // namespace

ReportLineReader::Status ScanReport(ReportLineReader& reader, MfdDiagnosis& diagnosis,
                                    ProgressWindow& progress, long pollEveryLines,
                                    AtomicFileWriter* findings) {
  std::string_view line;
  long sincePoll = 0;
  for (;;) {
    if (sincePoll < pollEveryLines && !diagnosis.WantsEveryLine()) {
      const long skipped =
          reader.SkipLinesWithout(MfdDiagnosis::kTellingPairs, pollEveryLines - sincePoll);
      diagnosis.SkipLines(skipped);
      sincePoll += skipped;
    }
    if (sincePoll < pollEveryLines) {
      const ReportLineReader::Status status = reader.Next(&line);
      if (status != ReportLineReader::Status::Line) return status;
      diagnosis.Line(line);
      ++sincePoll;
    }
    if (sincePoll < pollEveryLines) continue;
    sincePoll = 0;
    if (findings && !diagnosis.Findings().empty()) findings->Write(diagnosis.TakeFindings());
    progress.SetPos(ProgressPosition(reader));
    if (!progress.PeekAndPump(true) || progress.Cancelled()) return ReportLineReader::Status::End;
  }
}

DiagnosisOutcome DiagnoseReport(Ui& ui, const AppSettings& settings, const std::string& reportPath,
                                long pollEveryLines) {
  DiagnosisOutcome outcome;
  outcome.outputPath = OutputPath(settings);
  ReportLineReader reader(reportPath);
  if (!reader.IsOpen()) {
    // A report that was never read must not come out as free of errors.
    outcome.problem = W("Não foi possível abrir o relatório ") + reportPath + ": " + reader.Error();
    return outcome;
  }

  ProgressWindow progress(ui);
  progress.Create(Str(StrId::kProgress), false);
  progress.SetText(Str(StrId::kReceivingReply));
  progress.SetRange(0, kProgressRange, 1);

  // The findings go out as they are found; the file is replaced only once
  // they are complete.
  AtomicFileWriter findings(outcome.outputPath);
  MfdDiagnosis diagnosis(settings.modelMask);
  const ReportLineReader::Status status =
      ScanReport(reader, diagnosis, progress, pollEveryLines, &findings);
  progress.Destroy();

  const long stoppedAt = diagnosis.LinesRead() + 1;
  if (status == ReportLineReader::Status::LongLine) {
    outcome.problem = W("Leitura interrompida na linha ") + std::to_string(stoppedAt) +
                      W(": linha com mais de 499 caracteres.");
  } else if (status == ReportLineReader::Status::ReadFailed) {
    outcome.problem =
        W("Leitura interrompida na linha ") + std::to_string(stoppedAt) + ": " + reader.Error();
  }
  outcome.readWhole = outcome.problem.empty();
  diagnosis.Finish(outcome.readWhole);
  findings.Write(diagnosis.TakeFindings());
  // The file says itself that it covers only part of the report.
  if (!outcome.readWhole) findings.Write("\r\n" + outcome.problem + "\r\n");
  outcome.errorsFound = diagnosis.ErrorsFound();

  const Status written = findings.Commit();
  outcome.written = written.ok();
  if (!outcome.written) {
    if (!outcome.problem.empty()) outcome.problem += "\r\n";
    outcome.problem +=
        W("Não foi possível gravar o arquivo ") + outcome.outputPath + ": " + written.message();
  }
  return outcome;
}

void RunMfdReportDiagnosis(Ui& ui, const AppSettings& settings) {
  auto report = ui.OpenFileNames(
      "Relatorios da MFD",
      {{"Arquivos de texto (*.txt)", "*.txt"}, {"Todos os Arquivos (*.*)", "*.*"}}, false);
  if (!report || report->empty()) return;
  const DiagnosisOutcome outcome = DiagnoseReport(ui, settings, report->front());
  if (!outcome.problem.empty())
    ui.Message(outcome.problem, Str(StrId::kProductName), MessageButtons::Ok,
               MessageIcon::Exclamation);
  if (outcome.written) OfferToOpen(ui, outcome.outputPath);
}

}  // namespace taloven
