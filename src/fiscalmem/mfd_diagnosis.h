#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "fiscalmem/report_line_reader.h"

namespace taloven {

// Scans the lines of a journal (MFD) text report, one at a time, for lost
// documents (gaps in the COO sequence), user changes and places where the
// sequence goes back, which need a Z reduction created by the fiscal-memory
// library. The findings are Windows-1252 text with CR LF line ends.
class MfdDiagnosis {
 public:
  // One model prints its "FAB:" lines differently: only its headers give the
  // date and time there.
  explicit MfdDiagnosis(uint32_t modelMask);

  // One line of the report, without its line end.
  void Line(std::string_view line);

  // Each searched text holds one of these pairs, chosen to be rare in the
  // other lines of a report: "COO:", "FAB:", "ALTERAÇÃO", "REDUÇÃO" and the
  // dating header (by its maker's name: every document's closing lines name
  // a model "ECF-T.."). A line without any of them can only be counted.
  // SkipLines() counts such lines, which is allowed only while no header is
  // waiting for its date line.
  static constexpr ReportLineReader::BytePairs kTellingPairs = {
      {{'O', 'O'}, {'B', ':'}, {'A', '\xC7'}, {'U', '\xC7'}, {'D', 'R'}}};
  bool WantsEveryLine() const { return headerLinesLeft_ > 0; }
  void SkipLines(long count) { line_ += count; }
  // Closes the scan: a Z reduction still pending is reported, and when no
  // error was found (and saysAllIsWell) the findings say so. Call once.
  void Finish(bool saysAllIsWell = true);

  const std::string& Findings() const { return findings_; }
  // Hands over the findings so far and forgets them, so that a report full
  // of errors need not pile them up in memory before they are written.
  std::string TakeFindings() { return std::exchange(findings_, {}); }
  long LinesRead() const { return line_; }
  bool ErrorsFound() const { return errorFound_; }

 private:
  void TakeDateTime(std::string_view line, size_t position);
  void CheckCoo(std::string_view line);
  void RestOfLine(std::string_view line);
  void WriteZBlock(const char* lineLabel);
  void AppendNumber(long long value);

  bool ignoreFab_;
  std::string_view header_;  // the one that dates a journal whose "FAB:" lines do not
  size_t headerDash_;
  long line_ = 0;
  long long previousCoo_ = -1;
  bool errorFound_ = false;
  bool zPending_ = false;
  std::string date_, time_;
  std::string pendingDate_, pendingTime_;
  // After a header line: how many lines are still to come before the one
  // that holds its date and time, and where the header stood.
  int headerLinesLeft_ = 0;
  size_t headerPosition_ = 0;
  std::string findings_;
};

}  // namespace taloven
