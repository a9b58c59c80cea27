// The journal-record decoder on an arbitrary payload: every byte is either
// in a sound record or counted as damage, records come in order without
// overlapping, and a record written again from what was decoded is the
// same bytes and decodes to the same record.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/journal_record.h"
#include "fuzz_files.h"

namespace {

using namespace taloven;
using fuzz::Require;

constexpr size_t kReservedAt = 26;  // two bytes the writer leaves 00h; no reader looks at them

bool SameEntry(const JournalEntry& a, const JournalEntry& b) {
  return a.coo == b.coo && a.kind == b.kind && a.user == b.user && a.when == b.when &&
         a.lines == b.lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view payload = fuzz::Bytes(data, size);
  const JournalScan scan = ScanJournal(payload);

  size_t covered = 0;
  size_t next = 0;
  std::string again;
  for (const JournalEntry& entry : scan.entries) {
    const size_t at = static_cast<size_t>(entry.lines.data() - payload.data()) - kJournalHeaderSize;
    Require(at >= next && at + kJournalHeaderSize + entry.lines.size() <= payload.size(),
            "records lie in order within the payload");
    Require(entry.when.size() == 14, "a record's date and time take 14 bytes");
    next = at + kJournalHeaderSize + entry.lines.size();
    covered += kJournalHeaderSize + entry.lines.size();
    static_cast<void>(entry.DateKey());

    JournalRecord record{entry.coo, entry.kind, entry.user, std::string(entry.when),
                         std::string(entry.lines)};
    const size_t start = again.size();
    AppendJournalRecord(again, record);
    const std::string_view original = payload.substr(at, next - at);
    if (original[kReservedAt] == '\0' && original[kReservedAt + 1] == '\0')
      Require(std::string_view(again).substr(start) == original,
              "a record written again is the bytes it was read from");
  }
  Require(covered + scan.damagedBytes == payload.size(),
          "every byte is in a record or counted as damage");
  Require((scan.damagedBytes == 0) == (scan.damagedRecords == 0),
          "damaged bytes and damaged records are counted together");

  const JournalScan rescan = ScanJournal(again);
  Require(rescan.damagedBytes == 0 && rescan.entries.size() == scan.entries.size(),
          "the records written again read back whole");
  for (size_t i = 0; i < scan.entries.size(); ++i)
    Require(SameEntry(rescan.entries[i], scan.entries[i]), "a record reads back the same");
  return 0;
}
