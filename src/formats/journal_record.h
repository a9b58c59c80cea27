#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace taloven {

// What kind of document a journal record holds.
enum class JournalKind : uint8_t {
  kFiscalReceipt = 1,
  kReceiptCancellation = 2,
  kNonFiscal = 3,
  kXReading = 4,
  kZReduction = 5,
  kManagementReport = 6,
  kUserChange = 7,
  kFiscalMemoryReading = 8,
  kNonFiscalCancellation = 9,
};

// One document the printer printed, as its electronic journal keeps it.
struct JournalRecord {
  uint32_t coo = 0;
  JournalKind kind = JournalKind::kFiscalReceipt;
  uint8_t user = 1;
  std::string when;   // "DDMMYYYYhhmmss"
  std::string lines;  // the printed lines in code page 850, each ended by LF
};

// The same, pointing into a payload that outlives it.
struct JournalEntry {
  uint32_t coo = 0;
  JournalKind kind = JournalKind::kFiscalReceipt;
  uint8_t user = 1;
  std::string_view when;
  std::string_view lines;

  // yyyymmdd as a number, for comparing dates; 0 when the date is unreadable.
  int DateKey() const;
};

constexpr size_t kJournalHeaderSize = 32;
// A record longer than this is taken as damage, not as a document.
constexpr size_t kJournalMaxLines = 1 << 20;

// Appends one record (header, lines) to a journal payload.
void AppendJournalRecord(std::string& payload, const JournalRecord& record);

struct JournalScan {
  std::vector<JournalEntry> entries;
  size_t damagedBytes = 0;  // bytes skipped because no sound record started there
  // Places where a record should have started and none sound did: each cost
  // at least one document.
  size_t damagedRecords = 0;
};

// Finds the sound records of a payload that arrives piece by piece (a file
// read through a buffer), so that no reader holds it whole. The caller keeps
// the bytes not yet used: Scan() takes them from Position() on, passes each
// sound record found whole among them to found (its views valid during the
// call; found returns false to stop), and returns how many bytes it is done
// with. The rest must be given again, with what follows them, at the next
// call. Holding kJournalHeaderSize + kJournalMaxLines bytes at a time always
// lets it go on. Damage is counted as ScanJournal counts it.
class JournalScanner {
 public:
  using Found = std::function<bool(const JournalEntry&)>;
  explicit JournalScanner(uint64_t payloadSize) : size_(payloadSize) {}

  size_t Scan(std::string_view bytes, const Found& found);
  uint64_t Position() const { return position_; }
  // Every byte of the payload was used.
  bool Done() const { return position_ == size_; }
  bool Stopped() const { return stopped_; }
  uint64_t DamagedBytes() const { return damagedBytes_; }
  uint64_t DamagedRecords() const { return damagedRecords_; }

 private:
  uint64_t size_;
  uint64_t position_ = 0;
  uint64_t damagedBytes_ = 0, damagedRecords_ = 0;
  bool inDamage_ = false;  // passing over bytes towards the next record mark
  bool stopped_ = false;
};

// Every sound record of a payload, in order. A record whose check fails is
// skipped and the scan resumes at the next record mark, so damage costs only
// the records it touches.
JournalScan ScanJournal(std::string_view payload);

// yyyymmdd of a "DDMMYY" text (years 00-79 are 2000-2079, the rest 19xx);
// false when it is no real date.
bool DateKeyFromDdmmyy(std::string_view text, int& key);

}  // namespace taloven
