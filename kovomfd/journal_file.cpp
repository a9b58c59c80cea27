#include "journal_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "call_outcome.h"
#include "formats/mfd_file.h"
#include "kovo_mfd.h"

namespace kovo {
namespace {

// Room for the largest record and a stretch of the payload after it: the
// scanner never waits for more than one record. The payload comes in
// stretches much smaller than that room, so that a journal of small records
// touches only the first pages of it: a fresh page costs a process more than
// the record it holds.
constexpr size_t kReadBytes = 64 << 10;
constexpr size_t kBufferBytes =
    taloven::kJournalHeaderSize + taloven::kJournalMaxLines + kReadBytes;

}  // namespace

JournalFile::~JournalFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool JournalFile::ReadAt(uint64_t offset, char* into, size_t size) {
  while (size > 0) {
    const ssize_t got = ::pread(fd_, into, size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // a file cut short while read reads as unreadable
    into += got;
    offset += static_cast<uint64_t>(got);
    size -= static_cast<size_t>(got);
  }
  return true;
}

// The payload ends before the closing FFh bytes; a file cut short, before
// its last run of FFh, which may reach far back.
bool JournalFile::FindPayloadEnd(uint64_t fileSize) {
  const uint64_t payload = fileSize - taloven::kMfdHeaderBytes;
  std::string tail(static_cast<size_t>(std::min<uint64_t>(payload, taloven::kMfdTrailerBytes)),
                   '\0');
  if (!ReadAt(fileSize - tail.size(), tail.data(), tail.size())) return false;
  if (taloven::MfdClosed(tail)) {
    payloadEnd_ = fileSize - taloven::kMfdTrailerBytes;
    return true;
  }
  std::vector<char> chunk(1 << 16);
  uint64_t end = fileSize;
  while (end > taloven::kMfdHeaderBytes) {
    const size_t size =
        static_cast<size_t>(std::min<uint64_t>(chunk.size(), end - taloven::kMfdHeaderBytes));
    if (!ReadAt(end - size, chunk.data(), size)) return false;
    size_t kept = size;
    while (kept > 0 && static_cast<uint8_t>(chunk[kept - 1]) == 0xFF) --kept;
    end -= size - kept;
    if (kept > 0) break;
  }
  payloadEnd_ = end;
  return true;
}

int JournalFile::Open(const char* mfdPath) {
  if (mfdPath == nullptr) return KOVO_NO_VALID_DATA;
  fd_ = ::open(mfdPath, O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return KOVO_NO_VALID_DATA;
  size_ = static_cast<uint64_t>(info.st_size);
  // Refused before a byte is read: no printer's journal is larger.
  if (size_ < taloven::kMfdHeaderBytes || size_ > taloven::kLargestMfdFileBytes)
    return KOVO_NO_VALID_DATA;
  std::string markers(taloven::kMfdHeaderBytes - taloven::kMfdErasedBytes, '\0');
  if (!ReadAt(taloven::kMfdErasedBytes, markers.data(), markers.size()) ||
      !taloven::ReadMfdMarkers(markers, source_) || !FindPayloadEnd(size_))
    return KOVO_NO_VALID_DATA;
  if (source_.empty()) return KOVO_NO_SERIAL_NUMBER;
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
  return KOVO_OK;
}

bool JournalFile::ForEach(const JournalSelection& selection, InputProgress& progress,
                          const taloven::JournalScanner::Found& take) {
  taloven::JournalScanner scanner(payloadEnd_ - taloven::kMfdHeaderBytes);
  const std::unique_ptr<char[]> buffer(new char[kBufferBytes]);
  const taloven::JournalScanner::Found chosen = [&](const taloven::JournalEntry& entry) {
    // The scanner's position moves only between pieces; the entry's own
    // place in the buffer tells how far into the file it ends.
    const auto end = static_cast<uint64_t>(entry.lines.data() + entry.lines.size() - buffer.get());
    if (progress.At(static_cast<long long>(taloven::kMfdHeaderBytes + scanner.Position() + end)))
      return false;
    return !selection.Takes(entry) || take(entry);
  };
  uint64_t offset = taloven::kMfdHeaderBytes;
  size_t held = 0;
  bool read = true;
  // Asked once before any work, and between pieces, so that damage that
  // gives no record still hears a cancel.
  while (!progress.At(static_cast<long long>(taloven::kMfdHeaderBytes + scanner.Position())) &&
         !scanner.Done() && !scanner.Stopped()) {
    const size_t more = static_cast<size_t>(
        std::min<uint64_t>({kReadBytes, kBufferBytes - held, payloadEnd_ - offset}));
    if (!ReadAt(offset, buffer.get() + held, more)) {
      read = false;
      break;
    }
    offset += more;
    held += more;
    const size_t used = scanner.Scan(std::string_view(buffer.get(), held), chosen);
    // A scanner that can use nothing of a full buffer would wait for ever.
    if (used == 0 && more == 0) {
      read = false;
      break;
    }
    std::memmove(buffer.get(), buffer.get() + used, held - used);
    held -= used;
  }
  if (progress.Cancelled()) return read;
  damagedRecords_ = scanner.DamagedRecords();
  damagedBytes_ = scanner.DamagedBytes();
  LastOutcome().damagedParts = static_cast<long long>(damagedRecords_);
  LastOutcome().damagedBytes = static_cast<long long>(damagedBytes_);
  return read;
}

}  // namespace kovo
