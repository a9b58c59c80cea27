#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "base/encoding.h"

namespace taloven {
namespace {

// Large enough that the system calls cost little beside the bytes, small
// enough that its fresh pages cost a short-lived process little either.
constexpr size_t kBufferBytes = 64 << 10;

Status Failed(int code) {
  return Status::Failure(std::strerror(code), code);
}

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<size_t>(written);
  }
  return true;
}

// A new file gets the permissions any program's new file would get.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path) {
  if (path.empty()) {
    status_ = Failed(ENOENT);
    return;
  }
  std::vector<char> name(path.begin(), path.end());
  for (char c : std::string_view(".XXXXXX")) name.push_back(c);
  name.push_back('\0');
  fd_ = ::mkstemp(name.data());
  if (fd_ < 0) {
    status_ = Failed(errno);
    return;
  }
  temporary_ = name.data();
  struct stat existing {};
  const mode_t mode =
      ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : NewFileMode();
  if (::fchmod(fd_, mode) != 0) Fail(errno);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void AtomicFileWriter::Fail(int code) {
  if (status_.ok()) status_ = Failed(code ? code : EIO);
}

bool AtomicFileWriter::Flush() {
  if (!status_.ok()) return false;
  if (!WriteAll(fd_, buffer_)) Fail(errno);
  buffer_.clear();
  return status_.ok();
}

bool AtomicFileWriter::Write(std::string_view bytes) {
  if (!status_.ok()) return false;
  if (buffer_.size() + bytes.size() > kBufferBytes) {
    if (!Flush()) return false;
    // A piece larger than the buffer goes out as it is.
    if (bytes.size() > kBufferBytes) {
      if (!WriteAll(fd_, bytes)) Fail(errno);
      return status_.ok();
    }
  }
  if (buffer_.capacity() < kBufferBytes) buffer_.reserve(kBufferBytes);
  buffer_.append(bytes);
  return true;
}

Status AtomicFileWriter::Commit() {
  if (Flush() && ::fsync(fd_) != 0) Fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (fd >= 0 && ::close(fd) != 0) Fail(errno);
  if (status_.ok() && ::rename(temporary_.c_str(), path_.c_str()) != 0) Fail(errno);
  if (status_.ok()) temporary_.clear();
  return status_;
}

Status WriteFileAtomically(const std::string& path, const std::string& bytes) {
  AtomicFileWriter writer(path);
  writer.Write(bytes);
  return writer.Commit();
}

std::string CannotWrite(const std::string& path, const std::string& reason) {
  return W("não foi possível gravar ") + Utf8ToCp1252(path) + " (" + Utf8ToCp1252(reason) + ")";
}

}  // namespace taloven
