#pragma once

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

}  // namespace kovo
