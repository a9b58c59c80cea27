#include "link/file_port.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "link/drive_c.h"

namespace taloven {
namespace {

// Both sides may hold the advisory lock while they change a file, so that a
// reader taking bytes and a writer appending do not cut into each other.
class FileLock {
 public:
  explicit FileLock(int fd) : fd_(fd) {
    while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~FileLock() { flock(fd_, LOCK_UN); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_;
};

int OpenShared(const std::string& path, int extraFlags) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | extraFlags, 0666);
}

// Reads the whole of what lies from offset to the end.
bool ReadFrom(int fd, off_t offset, std::vector<uint8_t>* bytes) {
  uint8_t chunk[4096];
  while (true) {
    const ssize_t n = pread(fd, chunk, sizeof chunk, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    bytes->insert(bytes->end(), chunk, chunk + n);
    offset += n;
  }
}

bool WriteAll(int fd, const uint8_t* bytes, size_t count, off_t offset) {
  while (count > 0) {
    const ssize_t n = pwrite(fd, bytes, count, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += n;
    count -= static_cast<size_t>(n);
    offset += n;
  }
  return true;
}

}  // namespace

std::string FilePort::CommandFilePath() {
  return DriveCDirectory() + "/comando.dat";
}

std::string FilePort::ReplyFilePath() {
  return DriveCDirectory() + "/retorno.dat";
}

FilePort::FilePort(std::string name) : Port(std::move(name)), drive_(FindDriveC()) {
  if (Refused()) return;
  // Emptied rather than deleted: a counterpart that keeps the file open
  // would otherwise go on reading a file nobody writes any more.
  const int fd = ::open(WritePath().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd >= 0) ::close(fd);
}

FilePort::~FilePort() {
  if (readFd_ >= 0) ::close(readFd_);
}

std::string FilePort::ReadPath() const {
  return drive_.directory + (role_ == kCounterpartRole ? "/comando.dat" : "/retorno.dat");
}

std::string FilePort::WritePath() const {
  return drive_.directory + (role_ == kCounterpartRole ? "/retorno.dat" : "/comando.dat");
}

int FilePort::Open(int role) {
  role_ = role;
  if (readFd_ >= 0) ::close(readFd_);
  readFd_ = -1;
  if (Refused()) return 0;
  readFd_ = OpenShared(ReadPath(), 0);
  return readFd_ >= 0 ? 1 : 0;
}

void FilePort::Close() {
  if (trace_) trace_->EndExchange();
  if (readFd_ >= 0) ::close(readFd_);
  readFd_ = -1;
}

int FilePort::WriteBlock(const uint8_t* bytes, int count, unsigned* written) {
  if (written) *written = 0;
  if (count < 0 || Refused()) return 0;
  const int fd = OpenShared(WritePath(), O_APPEND);
  if (fd < 0) return 0;
  bool ok = true;
  {
    FileLock lock(fd);
    size_t done = 0;
    while (done < static_cast<size_t>(count)) {
      const ssize_t n = ::write(fd, bytes + done, static_cast<size_t>(count) - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        ok = false;
        break;
      }
      done += static_cast<size_t>(n);
    }
    if (written) *written = static_cast<unsigned>(done);
    if (trace_) trace_->Sent(bytes, done);
  }
  ::close(fd);
  return ok ? 1 : 0;
}

int FilePort::ReadBlock(uint8_t* buffer, int maxCount, unsigned* read) {
  if (read) *read = 0;
  if (readFd_ < 0 || maxCount < 0) return 0;
  FileLock lock(readFd_);
  std::vector<uint8_t> waiting;
  if (!ReadFrom(readFd_, 0, &waiting)) return 0;
  const size_t taken = std::min(waiting.size(), static_cast<size_t>(maxCount));
  if (taken == 0) return 1;
  std::copy(waiting.begin(), waiting.begin() + static_cast<std::ptrdiff_t>(taken), buffer);
  // Keep what was not asked for at the start of the file for the next read.
  if (ftruncate(readFd_, 0) != 0) return 0;
  if (!WriteAll(readFd_, waiting.data() + taken, waiting.size() - taken, 0)) return 0;
  if (read) *read = static_cast<unsigned>(taken);
  if (trace_) trace_->Received(buffer, taken);
  return 1;
}

int FilePort::PendingBytes() {
  if (readFd_ < 0) return 0;
  struct stat info {};
  if (fstat(readFd_, &info) != 0) return 0;
  return info.st_size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(info.st_size);
}

int FilePort::Purge() {
  const int pending = PendingBytes();
  std::vector<uint8_t> scratch(static_cast<size_t>(pending));
  unsigned read = 0;
  if (!ReadBlock(scratch.data(), pending, &read)) return 0;
  return read == static_cast<unsigned>(pending) ? 1 : 0;
}

}  // namespace taloven
