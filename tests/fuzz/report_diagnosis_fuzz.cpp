// The report line reader and the journal diagnosis on arbitrary reports, as
// the diagnosis reads them: through the reader's buffer, passing fast over
// lines that hold nothing it looks for. The first byte chooses the model
// (how "FAB:" lines are read) and the buffer's size, the second how often
// the progress window is polled; the rest is the report.
//
// Property: whatever the buffer and the polling, the findings, the lines
// counted and where the reading stopped are those of the diagnosis given
// every line one by one, split as the reader promises (LF ends, one CR before
// it dropped, no line over its limit).
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fiscalmem/mfd_diagnosis.h"
#include "fiscalmem/mfd_diagnosis_run.h"
#include "fiscalmem/report_line_reader.h"
#include "fuzz_files.h"
#include "link/progress_window.h"
#include "terminal_ui.h"

namespace {

using namespace taloven;
using fuzz::Require;

// One model whose "FAB:" lines carry the date, one whose headers do.
constexpr uint32_t kModels[] = {0x0400, 0x1000};

// Every line to the diagnosis, or a line too long: what the reading reached.
ReportLineReader::Status ReadOneByOne(std::string_view report, MfdDiagnosis& diagnosis) {
  while (!report.empty()) {
    const size_t end = report.find('\n');
    std::string_view line = report.substr(0, end);
    report.remove_prefix(end == std::string_view::npos ? report.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > ReportLineReader::kMaxLineLength) return ReportLineReader::Status::LongLine;
    diagnosis.Line(line);
  }
  return ReportLineReader::Status::End;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint32_t model = kModels[data[0] & 1];
  // From the smallest buffer the reader takes (a line and a half) upwards.
  const size_t bufferSize = static_cast<size_t>(data[0] >> 1) * 64;
  const long pollEvery = 1 + data[1];
  const std::string_view report = fuzz::Bytes(data + 2, size - 2);

  MfdDiagnosis plain(model);
  const ReportLineReader::Status plainEnd = ReadOneByOne(report, plain);
  plain.Finish(plainEnd == ReportLineReader::Status::End);

  ReportLineReader reader(fuzz::WriteScratch("report.txt", report), bufferSize);
  Require(reader.IsOpen(), "the report opens");
  std::istringstream noInput;
  std::ostringstream noOutput;
  TerminalUi ui(noInput, noOutput, false);
  // The window as the command line shows it.
  ProgressWindow progress(ui);
  progress.Create("", false);
  MfdDiagnosis fast(model);
  const ReportLineReader::Status fastEnd = ScanReport(reader, fast, progress, pollEvery);
  fast.Finish(fastEnd == ReportLineReader::Status::End);

  Require(fastEnd == plainEnd, "the reading stops where the lines say");
  Require(fast.LinesRead() == plain.LinesRead(), "every line is counted once");
  Require(fast.Findings() == plain.Findings() && fast.ErrorsFound() == plain.ErrorsFound(),
          "passing over lines finds what reading them finds");
  return 0;
}
