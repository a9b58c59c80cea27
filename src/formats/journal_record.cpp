#include "formats/journal_record.h"

#include <cstring>

#include "formats/crc32.h"
#include "formats/little_endian.h"

namespace taloven {
namespace {

constexpr char kMark[2] = {'J', 'R'};
constexpr size_t kCheckAt = 28;

bool Digits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

int Number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

bool RealDate(int day, int month, int year) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace

int JournalEntry::DateKey() const {
  if (when.size() < 8 || !Digits(when.substr(0, 8))) return 0;
  return Number(when.substr(4, 4)) * 10000 + Number(when.substr(2, 2)) * 100 +
         Number(when.substr(0, 2));
}

bool DateKeyFromDdmmyy(std::string_view text, int& key) {
  if (text.size() != 6 || !Digits(text)) return false;
  const int day = Number(text.substr(0, 2));
  const int month = Number(text.substr(2, 2));
  const int yy = Number(text.substr(4, 2));
  const int year = yy < 80 ? 2000 + yy : 1900 + yy;
  if (!RealDate(day, month, year)) return false;
  key = year * 10000 + month * 100 + day;
  return true;
}

void AppendJournalRecord(std::string& payload, const JournalRecord& record) {
  const size_t start = payload.size();
  payload.append(kMark, 2);
  PutLittleEndian(payload, record.lines.size(), 4);
  PutLittleEndian(payload, record.coo, 4);
  payload.push_back(static_cast<char>(record.kind));
  payload.push_back(static_cast<char>(record.user));
  PutField(payload, record.when, 14);
  payload.append(2, '\0');
  const size_t checkAt = payload.size();
  payload.append(4, '\0');
  payload += record.lines;
  std::string_view written(payload);
  uint32_t crc = Crc32(written.substr(start, kCheckAt));
  crc = Crc32(written.substr(checkAt + 4), crc);
  for (int i = 0; i < 4; ++i)
    payload[checkAt + static_cast<size_t>(i)] = static_cast<char>(crc >> (8 * i));
}

JournalScan ScanJournal(std::string_view payload) {
  JournalScan scan;
  size_t at = 0;
  while (at + kJournalHeaderSize <= payload.size()) {
    bool sound = payload[at] == kMark[0] && payload[at + 1] == kMark[1];
    const uint64_t length = sound ? GetLittleEndian(payload, at + 2, 4) : 0;
    sound =
        sound && length <= kJournalMaxLines && at + kJournalHeaderSize + length <= payload.size();
    if (sound) {
      const std::string_view header = payload.substr(at, kCheckAt);
      const std::string_view lines = payload.substr(at + kJournalHeaderSize, length);
      const uint32_t stored = static_cast<uint32_t>(GetLittleEndian(payload, at + kCheckAt, 4));
      sound = Crc32(lines, Crc32(header)) == stored;
      if (sound) {
        JournalEntry entry;
        entry.coo = static_cast<uint32_t>(GetLittleEndian(payload, at + 6, 4));
        entry.kind = static_cast<JournalKind>(static_cast<uint8_t>(payload[at + 10]));
        entry.user = static_cast<uint8_t>(payload[at + 11]);
        entry.when = payload.substr(at + 12, 14);
        entry.lines = lines;
        scan.entries.push_back(entry);
        at += kJournalHeaderSize + length;
        continue;
      }
    }
    // Resynchronise on the next mark; the bytes passed over are damage.
    const size_t next = payload.find(std::string_view(kMark, 2), at + 1);
    const size_t resume = next == std::string_view::npos ? payload.size() : next;
    scan.damagedBytes += resume - at;
    ++scan.damagedRecords;
    at = resume;
  }
  // Too short for a header: the end of a record cut off.
  if (at < payload.size()) {
    scan.damagedBytes += payload.size() - at;
    ++scan.damagedRecords;
  }
  return scan;
}

}  // namespace taloven
