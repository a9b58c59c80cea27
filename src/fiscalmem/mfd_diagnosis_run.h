#pragma once

#include <string>

#include "fiscalmem/report_line_reader.h"
#include "ui/app_settings.h"

namespace taloven {

class AtomicFileWriter;
class Ui;
class MfdDiagnosis;
class ProgressWindow;

// The findings file, in the working directory.
constexpr const char* kDiagnosisFileName = "diagnotico_mfd.txt";

struct DiagnosisOutcome {
  bool written = false;      // the findings file was replaced
  bool readWhole = false;    // every line of the report was read or the user cancelled
  bool errorsFound = false;  // losses, user changes or a Z reduction to create
  std::string outputPath;
  // Why the report was not read to its end or the findings were not
  // written, for the user (Windows-1252); empty when nothing went wrong.
  std::string problem;
};

// Reads the report through the diagnosis, polling the progress window every
// pollEveryLines lines; its Cancel ends the reading like the report's end.
// The findings so far go to findings, when given, at every poll. Returns
// what ended it.
ReportLineReader::Status ScanReport(ReportLineReader& reader, MfdDiagnosis& diagnosis,
                                    ProgressWindow& progress, long pollEveryLines,
                                    AtomicFileWriter* findings = nullptr);

// Diagnoses the journal report at reportPath under a progress window whose
// Cancel ends the scan early (what was read is still diagnosed) and replaces
// the findings file with the result. A report that cannot be opened leaves
// the findings file as it was. The window is polled every pollEveryLines
// lines.
DiagnosisOutcome DiagnoseReport(Ui& ui, const AppSettings& settings, const std::string& reportPath,
                                long pollEveryLines = 4096);

// The menu item: asks for the report, diagnoses it, tells what went wrong
// and offers to open the findings.
void RunMfdReportDiagnosis(Ui& ui, const AppSettings& settings);

}  // namespace taloven
