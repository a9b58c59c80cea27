#pragma once

#include <string>
#include <vector>

#include "formats/journal_record.h"

namespace kovo {

// Which documents of a journal a report or database takes.
struct JournalSelection {
  enum class By { kAll, kDates, kUserAndCoos } by = By::kAll;
  int firstDate = 0, lastDate = 0;  // yyyymmdd
  int user = 0, firstCoo = 0, lastCoo = 0;

  bool Takes(const taloven::JournalEntry& entry) const;
};

// "DDMMYY" texts to a date selection; false when either is no real date.
bool SelectDates(const char* start, const char* end, JournalSelection& selection);

// One user's documents from firstCoo to lastCoo.
JournalSelection SelectUserAndCoos(int user, int firstCoo, int lastCoo);

// An MFD file read into memory, its sound records found.
struct LoadedJournal {
  std::string bytes;
  std::string source;
  taloven::JournalScan scan;
};

// Reads and scans the file. A library result: KOVO_OK, KOVO_NO_VALID_DATA
// when the file cannot be read or is no MFD file, KOVO_NO_SERIAL_NUMBER when
// no marker block names its source. Notes the damage skipped in the call's
// outcome.
int LoadJournal(const char* mfdPath, LoadedJournal& journal);

// The selected records, in the journal's order.
std::vector<taloven::JournalEntry> Selected(const LoadedJournal& journal,
                                            const JournalSelection& selection);

}  // namespace kovo
