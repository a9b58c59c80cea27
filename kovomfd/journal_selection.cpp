#include "journal_selection.h"

#include "base/read_file.h"
#include "call_outcome.h"
#include "formats/mfd_file.h"
#include "kovo_mfd.h"

namespace kovo {

bool JournalSelection::Takes(const taloven::JournalEntry& entry) const {
  switch (by) {
    case By::kAll:
      return true;
    case By::kDates: {
      const int date = entry.DateKey();
      return date >= firstDate && date <= lastDate;
    }
    case By::kUserAndCoos:
      return entry.user == user && static_cast<int64_t>(entry.coo) >= firstCoo &&
             static_cast<int64_t>(entry.coo) <= lastCoo;
  }
  return false;
}

bool SelectDates(const char* start, const char* end, JournalSelection& selection) {
  if (start == nullptr || end == nullptr) return false;
  selection.by = JournalSelection::By::kDates;
  return taloven::DateKeyFromDdmmyy(start, selection.firstDate) &&
         taloven::DateKeyFromDdmmyy(end, selection.lastDate);
}

JournalSelection SelectUserAndCoos(int user, int firstCoo, int lastCoo) {
  JournalSelection selection;
  selection.by = JournalSelection::By::kUserAndCoos;
  selection.user = user;
  selection.firstCoo = firstCoo;
  selection.lastCoo = lastCoo;
  return selection;
}

int LoadJournal(const char* mfdPath, LoadedJournal& journal) {
  if (mfdPath == nullptr) return KOVO_NO_VALID_DATA;
  if (!taloven::ReadWholeFile(mfdPath, journal.bytes).ok()) return KOVO_NO_VALID_DATA;
  taloven::MfdContents contents;
  if (!taloven::ParseMfdFile(journal.bytes, contents)) return KOVO_NO_VALID_DATA;
  if (contents.source.empty()) return KOVO_NO_SERIAL_NUMBER;
  journal.source = contents.source;
  journal.scan = taloven::ScanJournal(contents.payload);
  LastOutcome().damagedParts = static_cast<long long>(journal.scan.damagedRecords);
  LastOutcome().damagedBytes = static_cast<long long>(journal.scan.damagedBytes);
  return KOVO_OK;
}

std::vector<taloven::JournalEntry> Selected(const LoadedJournal& journal,
                                            const JournalSelection& selection) {
  std::vector<taloven::JournalEntry> chosen;
  for (const taloven::JournalEntry& entry : journal.scan.entries)
    if (selection.Takes(entry)) chosen.push_back(entry);
  return chosen;
}

}  // namespace kovo
