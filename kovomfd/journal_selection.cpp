#include "journal_selection.h"

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

}  // namespace kovo
