#include "memories/memory_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/read_file.h"
#include "formats/journal_record.h"

namespace taloven::emulator {
namespace {

// A memory not yet written is empty.
bool ReadWhole(const std::string& path, std::string& out, std::string& error) {
  const Status read = ReadWholeFile(path, out);
  if (read.ok() || read.systemError() == ENOENT) return true;
  error = path + ": " + std::strerror(read.systemError());
  return false;
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

bool Rewrite(const std::string& path, const std::string& bytes, std::string& error) {
  const std::string temporary = path + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  bool ok = fd >= 0 && WriteAll(fd, bytes.data(), bytes.size());
  const int code = errno;
  if (fd >= 0 && ::close(fd) != 0) ok = false;
  if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  error = path + ": " + std::strerror(ok ? errno : code);
  std::remove(temporary.c_str());
  return false;
}

bool Keep(const std::string& path, const std::string& bytes, std::string& error) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || static_cast<size_t>(info.st_size) > bytes.size())
    return Rewrite(path, bytes, error);
  const size_t saved = static_cast<size_t>(info.st_size);
  if (saved == bytes.size()) return true;
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  const bool ok = WriteAll(fd, bytes.data() + saved, bytes.size() - saved);
  if (!ok) {
    error = path + ": " + std::strerror(errno);
    if (::ftruncate(fd, static_cast<off_t>(saved)) != 0) error += " (and could not be cut back)";
  }
  ::close(fd);
  return ok;
}

}  // namespace

std::string JournalFilePath(const std::string& statePath) {
  return statePath + ".journal";
}

std::string FiscalMemoryFilePath(const std::string& statePath) {
  return statePath + ".fiscal";
}

bool LoadMemoryFiles(const std::string& statePath, PrinterState& state, std::string& error) {
  if (!ReadWhole(JournalFilePath(statePath), state.journal, error) ||
      !ReadWhole(FiscalMemoryFilePath(statePath), state.fiscalMemory, error))
    return false;
  const JournalScan scan = ScanJournal(state.journal);
  if (!scan.entries.empty()) state.user = scan.entries.back().user;
  return true;
}

bool SaveMemoryFiles(const std::string& statePath, const PrinterState& state, std::string& error) {
  return Keep(JournalFilePath(statePath), state.journal, error) &&
         Keep(FiscalMemoryFilePath(statePath), state.fiscalMemory, error);
}

}  // namespace taloven::emulator
