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

size_t JournalScanner::Scan(std::string_view bytes, const Found& found) {
  size_t at = 0;
  // Whether the bytes given reach the end of the payload.
  const bool toTheEnd = position_ + bytes.size() >= size_;
  while (!stopped_ && (inDamage_ || position_ + at + kJournalHeaderSize <= size_)) {
    if (!inDamage_) {
      if (at + kJournalHeaderSize > bytes.size()) break;
      bool sound = bytes[at] == kMark[0] && bytes[at + 1] == kMark[1];
      const uint64_t length = sound ? GetLittleEndian(bytes, at + 2, 4) : 0;
      sound = sound && length <= kJournalMaxLines &&
              position_ + at + kJournalHeaderSize + length <= size_;
      if (sound && at + kJournalHeaderSize + length > bytes.size()) break;
      if (sound) {
        const std::string_view header = bytes.substr(at, kCheckAt);
        const std::string_view lines = bytes.substr(at + kJournalHeaderSize, length);
        const uint32_t stored = static_cast<uint32_t>(GetLittleEndian(bytes, at + kCheckAt, 4));
        sound = Crc32(lines, Crc32(header)) == stored;
        if (sound) {
          JournalEntry entry;
          entry.coo = static_cast<uint32_t>(GetLittleEndian(bytes, at + 6, 4));
          entry.kind = static_cast<JournalKind>(static_cast<uint8_t>(bytes[at + 10]));
          entry.user = static_cast<uint8_t>(bytes[at + 11]);
          entry.when = bytes.substr(at + 12, 14);
          entry.lines = lines;
          at += kJournalHeaderSize + length;
          if (!found(entry)) stopped_ = true;
          continue;
        }
      }
      // No sound record starts here: it cost at least one document.
      ++damagedRecords_;
      inDamage_ = true;
      ++at;
      ++damagedBytes_;
    }
    // Resynchronise on the next mark; the bytes passed over are damage. A
    // mark's first byte at the end of the bytes given waits for the second.
    const size_t next = bytes.find(std::string_view(kMark, 2), at);
    size_t resume = next;
    if (next == std::string_view::npos) resume = bytes.size() - (toTheEnd || bytes.empty() ? 0 : 1);
    if (resume < at) resume = at;
    damagedBytes_ += resume - at;
    at = resume;
    if (next == std::string_view::npos && !toTheEnd) break;
    inDamage_ = false;
  }
  // Too short for a header: the end of a record cut off.
  if (!stopped_ && toTheEnd && position_ + at < size_) {
    const uint64_t rest = size_ - position_ - at;
    ++damagedRecords_;
    damagedBytes_ += rest;
    at += static_cast<size_t>(rest);
  }
  position_ += at;
  return at;
}

JournalScan ScanJournal(std::string_view payload) {
  JournalScan scan;
  JournalScanner scanner(payload.size());
  scanner.Scan(payload, [&scan](const JournalEntry& entry) {
    scan.entries.push_back(entry);
    return true;
  });
  scan.damagedBytes = scanner.DamagedBytes();
  scan.damagedRecords = scanner.DamagedRecords();
  return scan;
}

}  // namespace taloven
