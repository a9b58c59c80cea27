#include "memories/memory_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/atomic_file.h"
#include "base/read_file.h"
#include "formats/journal_record.h"

namespace taloven::emulator {
namespace {

Status Failure(const std::string& path, int code) {
  return Status::Failure(path + ": " + std::strerror(code), code);
}

// A memory not yet written is empty.
Status ReadWhole(const std::string& path, std::string& out) {
  const Status read = ReadWholeFile(path, out);
  if (read.ok() || read.systemError() == ENOENT) return {};
  return Failure(path, read.systemError());
}

bool WriteAll(int fd, const char* bytes, size_t count) {
  while (count > 0) {
    const ssize_t n = ::write(fd, bytes, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

// A file that is not there, or holds more than the memory (a memory
// replaced by a shorter one), is written anew; else what is new is appended.
Status Keep(const std::string& path, const std::string& bytes) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || static_cast<size_t>(info.st_size) > bytes.size()) {
    const Status written = WriteFileAtomically(path, bytes);
    if (written.ok()) return {};
    return Failure(path, written.systemError());
  }
  const size_t saved = static_cast<size_t>(info.st_size);
  if (saved == bytes.size()) return {};
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return Failure(path, errno);
  Status appended;
  if (!WriteAll(fd, bytes.data() + saved, bytes.size() - saved)) {
    const int code = errno;
    appended = ::ftruncate(fd, static_cast<off_t>(saved)) == 0
                   ? Failure(path, code)
                   : Status::Failure(
                         path + ": " + std::strerror(code) + " (and could not be cut back)", code);
  }
  ::close(fd);
  return appended;
}

}  // namespace

std::string JournalFilePath(const std::string& statePath) {
  return statePath + ".journal";
}

std::string FiscalMemoryFilePath(const std::string& statePath) {
  return statePath + ".fiscal";
}

Status LoadMemoryFiles(const std::string& statePath, PrinterState& state) {
  if (Status read = ReadWhole(JournalFilePath(statePath), state.journal); !read.ok()) return read;
  if (Status read = ReadWhole(FiscalMemoryFilePath(statePath), state.fiscalMemory); !read.ok())
    return read;
  const JournalScan scan = ScanJournal(state.journal);
  if (!scan.entries.empty()) state.user = scan.entries.back().user;
  return {};
}

Status SaveMemoryFiles(const std::string& statePath, const PrinterState& state) {
  if (Status kept = Keep(JournalFilePath(statePath), state.journal); !kept.ok()) return kept;
  return Keep(FiscalMemoryFilePath(statePath), state.fiscalMemory);
}

}  // namespace taloven::emulator
