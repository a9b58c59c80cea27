// Journal reports: the selected documents, line by line as printed.
#include "call_outcome.h"
#include "journal_selection.h"
#include "kovo_mfd.h"
#include "report_text.h"

namespace kovo {
namespace {

int WriteTextReport(const char* mfdPath, const char* outputPath,
                    const JournalSelection& selection) {
  if (outputPath == nullptr || *outputPath == '\0') return KOVO_TXT_NOT_OPENED;
  LoadedJournal journal;
  const int loaded = LoadJournal(mfdPath, journal);
  if (loaded != KOVO_OK) return loaded;
  const std::vector<taloven::JournalEntry> chosen = Selected(journal, selection);
  if (chosen.empty()) return KOVO_NO_VALID_DATA;
  ReportText report;
  size_t total = 0;
  for (const taloven::JournalEntry& entry : chosen) total += entry.lines.size();
  report.Bytes().reserve(total + total / 16);
  for (const taloven::JournalEntry& entry : chosen) report.PrinterLines(entry.lines);
  // A report that leaves documents out says so where its reader looks last.
  if (journal.scan.damagedRecords > 0) {
    report.Line();
    report.Row(W("DOCUMENTOS DANIFICADOS IGNORADOS:"), std::to_string(journal.scan.damagedRecords));
    report.Row(W("BYTES DANIFICADOS IGNORADOS:"), std::to_string(journal.scan.damagedBytes));
  }
  return WriteOutput(outputPath, report.Bytes(), KOVO_TXT_NOT_OPENED);
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
