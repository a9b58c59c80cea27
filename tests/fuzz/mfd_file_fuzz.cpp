// The MFD file reader on arbitrary files, through the library's journal
// reports and databases as the program calls them. The input is a file
// without its erased area (the fuzzer need not carry half a megabyte of
// FFh): the marker blocks, the payload and what closes it. The first byte
// chooses the export and its selection, and whether every record that has
// its mark and a length that fits is sealed with its right check first: the
// check would otherwise keep most changes to a record's contents from the
// code that reads them.
//
// Properties: the file read again after being written from what was read is
// the same; a report is made exactly when the reader found a named file with
// a document the selection takes; the damage the library reports is the
// reader's; no printed line is lost in the text report nor in the database.
#include <sqlite3.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/crc32.h"
#include "formats/journal_record.h"
#include "formats/little_endian.h"
#include "formats/mfd_file.h"
#include "fuzz_files.h"
#include "kovo_mfd.h"

namespace {

using namespace taloven;
using fuzz::Require;

enum class Selection { kAll, kDates, kUserAndCoos };

// The widest dates a DDMMYY selection can name.
constexpr const char* kFirstDate = "010180";
constexpr const char* kLastDate = "311279";

bool Takes(Selection selection, uint8_t user, const JournalEntry& entry) {
  switch (selection) {
    case Selection::kAll:
      return true;
    case Selection::kDates:
      return entry.DateKey() >= 19800101 && entry.DateKey() <= 20791231;
    case Selection::kUserAndCoos:
      return entry.user == user && entry.coo <= static_cast<uint32_t>(INT_MAX);
  }
  return false;
}

size_t LinesOf(std::string_view lines) {
  const size_t feeds = static_cast<size_t>(std::count(lines.begin(), lines.end(), '\n'));
  return feeds + (!lines.empty() && lines.back() != '\n' ? 1 : 0);
}

long long Count(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  long long count = -1;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW)
    count = sqlite3_column_int64(statement, 0);
  sqlite3_finalize(statement);
  return count;
}

void SealRecords(std::string& file) {
  size_t at = kMfdHeaderBytes;
  while (at + kJournalHeaderSize <= file.size()) {
    const uint64_t length = file[at] == 'J' && file[at + 1] == 'R'
                                ? GetLittleEndian(file, at + 2, 4)
                                : kJournalMaxLines + 1;
    if (length > kJournalMaxLines || at + kJournalHeaderSize + length > file.size()) {
      ++at;
      continue;
    }
    const std::string_view bytes(file);
    const uint32_t check = Crc32(bytes.substr(at + kJournalHeaderSize, length),
                                 Crc32(bytes.substr(at, kJournalHeaderSize - 4)));
    std::string sealed;
    PutLittleEndian(sealed, check, 4);
    file.replace(at + kJournalHeaderSize - 4, 4, sealed);
    at += kJournalHeaderSize + length;
  }
}

int Export(bool database, Selection selection, uint8_t user, const std::string& in,
           const std::string& out) {
  const char* i = in.c_str();
  const char* o = out.c_str();
  switch (selection) {
    case Selection::kAll:
      return database ? KovoGeraMdbTotal(i, o) : KovoGeraTxtTotal(i, o);
    case Selection::kDates:
      return database ? KovoGeraMdbPorData(i, o, kFirstDate, kLastDate)
                      : KovoGeraTxtPorData(i, o, kFirstDate, kLastDate);
    case Selection::kUserAndCoos:
      return database ? KovoGeraMdbPorCOO(i, o, user, 0, INT_MAX)
                      : KovoGeraTxtPorCOO(i, o, user, 0, INT_MAX);
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const auto selection = static_cast<Selection>(data[0] % 3);
  const bool database = (data[0] & 4) != 0;
  const uint8_t user = data[1];
  // The erased area is laid once: building half a megabyte anew for every
  // input would cost most of the run.
  static std::string file(kMfdErasedBytes, '\xFF');
  file.resize(kMfdErasedBytes);
  file.append(fuzz::Bytes(data + 2, size - 2));
  if ((data[0] & 8) != 0) SealRecords(file);

  MfdContents contents;
  const bool parsed = ParseMfdFile(file, contents);
  JournalScan scan;
  size_t chosen = 0, lines = 0, feeds = 0;
  if (parsed) {
    MfdContents again;
    const std::string rewritten = MfdFileBytes(contents.source, contents.payload);
    Require(ParseMfdFile(rewritten, again) && again.source == contents.source &&
                again.payload == contents.payload,
            "an MFD file written from what was read reads the same");
    scan = ScanJournal(contents.payload);
    for (const JournalEntry& entry : scan.entries) {
      if (!Takes(selection, user, entry)) continue;
      ++chosen;
      lines += LinesOf(entry.lines);
      feeds += static_cast<size_t>(std::count(entry.lines.begin(), entry.lines.end(), '\n'));
    }
  }

  const std::string in = fuzz::WriteScratch("in.mfd", file);
  const std::string out = fuzz::ScratchPath(database ? "out.db" : "out.txt");
  const int result = Export(database, selection, user, in, out);
  int expected = KOVO_OK;
  if (!parsed)
    expected = KOVO_NO_VALID_DATA;
  else if (contents.source.empty())
    expected = KOVO_NO_SERIAL_NUMBER;
  else if (chosen == 0)
    expected = KOVO_NO_VALID_DATA;
  Require(result == expected, "a report is made exactly when the file holds a chosen document");
  if (result != KOVO_OK) return 0;

  long long parts = -1, bytes = -1;
  KovoDanosIgnorados(&parts, &bytes);
  Require(parts == static_cast<long long>(scan.damagedRecords) &&
              bytes == static_cast<long long>(scan.damagedBytes),
          "the library reports the damage the reader skipped");

  if (!database) {
    const std::string report = fuzz::ReadScratch(out);
    const size_t damageRows = scan.damagedRecords > 0 ? 3 : 0;
    Require(
        static_cast<size_t>(std::count(report.begin(), report.end(), '\n')) == feeds + damageRows,
        "every printed line is in the text report");
    return 0;
  }
  sqlite3* db = nullptr;
  Require(sqlite3_open_v2(out.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK,
          "the database opens");
  Require(Count(db, "SELECT count(*) FROM documentos") == static_cast<long long>(chosen) &&
              Count(db, "SELECT count(*) FROM linhas") == static_cast<long long>(lines),
          "every chosen document and printed line is in the database");
  sqlite3_close(db);
  return 0;
}
