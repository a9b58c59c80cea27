// Journal reports: the selected documents, line by line as printed.
#include "call_outcome.h"
#include "journal_file.h"
#include "journal_selection.h"
#include "kovo_mfd.h"
#include "output_file.h"
#include "progress.h"
#include "report_text.h"

namespace kovo {
namespace {

// Output goes out in pieces of about this size, whatever the journal's.
constexpr size_t kPieceBytes = 64 << 10;

int WriteTextReport(const char* mfdPath, const char* outputPath,
                    const JournalSelection& selection) {
  if (outputPath == nullptr || *outputPath == '\0') return KOVO_TXT_NOT_OPENED;
  JournalFile journal;
  const int opened = journal.Open(mfdPath);
  if (opened != KOVO_OK) return opened;
  OutputFile output(outputPath, KOVO_TXT_NOT_OPENED);
  ReportText report;
  report.Bytes().reserve(kPieceBytes + kPieceBytes / 8);
  bool any = false, written = true;
  InputProgress progress(static_cast<long long>(journal.Size()));
  const bool read = journal.ForEach(selection, progress, [&](const taloven::JournalEntry& entry) {
    any = true;
    report.PrinterLines(entry.lines);
    if (report.Bytes().size() < kPieceBytes) return true;
    written = output.Write(report.Bytes());
    report.Bytes().clear();
    return written;
  });
  if (progress.Cancelled() || (read && written && progress.Whole())) return KOVO_NOT_EXECUTED;
  if (!written) return output.Finish();
  if (!read || !any) return KOVO_NO_VALID_DATA;
  // A report that leaves documents out says so where its reader looks last.
  if (journal.DamagedRecords() > 0) {
    report.Line();
    report.Row(W("DOCUMENTOS DANIFICADOS IGNORADOS:"), std::to_string(journal.DamagedRecords()));
    report.Row(W("BYTES DANIFICADOS IGNORADOS:"), std::to_string(journal.DamagedBytes()));
  }
  output.Write(report.Bytes());
  return output.Finish();
}

}  // namespace
}  // namespace kovo

extern "C" KOVO_API int KovoGeraTxtTotal(const char* mfdPath, const char* outputPath) {
  return kovo::Guarded(KOVO_NO_VALID_DATA,
                       [&] { return kovo::WriteTextReport(mfdPath, outputPath, {}); });
}

extern "C" KOVO_API int KovoGeraTxtPorData(const char* mfdPath, const char* outputPath,
                                           const char* startDate, const char* endDate) {
  return kovo::Guarded(KOVO_NO_VALID_DATA, [&] {
    kovo::JournalSelection selection;
    if (!kovo::SelectDates(startDate, endDate, selection)) return KOVO_INVALID_DATE;
    return kovo::WriteTextReport(mfdPath, outputPath, selection);
  });
}

extern "C" KOVO_API int KovoGeraTxtPorCOO(const char* mfdPath, const char* outputPath, int user,
                                          int firstCoo, int lastCoo) {
  return kovo::Guarded(KOVO_NO_VALID_DATA, [&] {
    return kovo::WriteTextReport(mfdPath, outputPath,
                                 kovo::SelectUserAndCoos(user, firstCoo, lastCoo));
  });
}
