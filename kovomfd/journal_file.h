#pragma once

#include <cstdint>
#include <string>

#include "formats/journal_record.h"
#include "journal_selection.h"
#include "progress.h"

namespace kovo {

// An MFD file read as it goes: its marker blocks, then the journal payload
// through one buffer, so that a journal of any size costs the same memory.
class JournalFile {
 public:
  JournalFile() = default;
  ~JournalFile();
  JournalFile(const JournalFile&) = delete;
  JournalFile& operator=(const JournalFile&) = delete;

  // Opens and checks the file. A library result: KOVO_OK;
  // KOVO_NO_VALID_DATA when it cannot be read, is larger than any download
  // makes or is no MFD file; KOVO_NO_SERIAL_NUMBER when no marker block
  // names its source.
  int Open(const char* mfdPath);
  const std::string& Source() const { return source_; }
  uint64_t Size() const { return size_; }

  // Passes the selected sound records to take in journal order, until take
  // returns false or the caller cancels through progress, which is told the
  // bytes of the file used. false when the file could not be read to its
  // end. Notes the damage skipped in the whole file in the call's outcome.
  bool ForEach(const JournalSelection& selection, InputProgress& progress,
               const taloven::JournalScanner::Found& take);
  uint64_t DamagedRecords() const { return damagedRecords_; }
  uint64_t DamagedBytes() const { return damagedBytes_; }

 private:
  bool ReadAt(uint64_t offset, char* into, size_t size);
  bool FindPayloadEnd(uint64_t fileSize);

  int fd_ = -1;
  std::string source_;
  uint64_t size_ = 0;
  uint64_t payloadEnd_ = 0;
  uint64_t damagedRecords_ = 0, damagedBytes_ = 0;
};

}  // namespace kovo
