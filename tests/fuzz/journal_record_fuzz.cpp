// The journal-record decoder on an arbitrary payload: every byte is either
// in a sound record or counted as damage, records come in order without
// overlapping, and a record written again from what was decoded is the
// same bytes and decodes to the same record. Read piece by piece, as the
// library reads a file through its buffer, the payload gives the same
// records and the same damage as read whole.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

struct PieceScan {
  std::vector<JournalRecord> records;  // kept whole: the bytes held change between pieces
  uint64_t damagedBytes = 0, damagedRecords = 0;
};

// The payload handed over in pieces of the given size, the bytes the scanner
// is not done with given again with the next piece.
PieceScan ScanInPieces(std::string_view payload, size_t piece) {
  PieceScan scan;
  JournalScanner scanner(payload.size());
  std::string held;
  size_t given = 0;
  for (;;) {
    const size_t take = std::min(piece, payload.size() - given);
    held.append(payload.substr(given, take));
    given += take;
    const size_t used = scanner.Scan(held, [&scan](const JournalEntry& e) {
      scan.records.push_back({e.coo, e.kind, e.user, std::string(e.when), std::string(e.lines)});
      return true;
    });
    held.erase(0, used);
    if (given == payload.size() && (scanner.Done() || used == 0)) break;
  }
  Require(scanner.Done(), "a payload given whole in pieces is read to its end");
  scan.damagedBytes = scanner.DamagedBytes();
  scan.damagedRecords = scanner.DamagedRecords();
  return scan;
}

bool SameRecord(const JournalRecord& a, const JournalEntry& b) {
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

  for (const size_t piece : {size_t{3}, size_t{61}, size_t{4096}}) {
    const PieceScan pieces = ScanInPieces(payload, piece);
    Require(pieces.damagedBytes == scan.damagedBytes &&
                pieces.damagedRecords == scan.damagedRecords &&
                pieces.records.size() == scan.entries.size(),
            "read in pieces, a payload gives the records and damage it gives whole");
    for (size_t i = 0; i < scan.entries.size(); ++i)
      Require(SameRecord(pieces.records[i], scan.entries[i]),
              "read in pieces, a record is the same");
  }

  const JournalScan rescan = ScanJournal(again);
  Require(rescan.damagedBytes == 0 && rescan.entries.size() == scan.entries.size(),
          "the records written again read back whole");
  for (size_t i = 0; i < scan.entries.size(); ++i)
    Require(SameEntry(rescan.entries[i], scan.entries[i]), "a record reads back the same");
  return 0;
}
