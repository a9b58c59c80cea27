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

Status Fail(int code) {
  return Status::Failure(std::strerror(code), code);
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
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

Status WriteFileAtomically(const std::string& path, const std::string& bytes) {
  if (path.empty()) return Fail(ENOENT);
  std::string pattern = path + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return Fail(errno);

  struct stat existing {};
  const mode_t mode =
      ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : NewFileMode();
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int code = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    code = errno;
  }
  if (ok && ::rename(name.data(), path.c_str()) != 0) {
    ok = false;
    code = errno;
  }
  if (!ok) {
    ::unlink(name.data());
    return Fail(code ? code : EIO);
  }
  return {};
}

std::string CannotWrite(const std::string& path, const std::string& reason) {
  return W("não foi possível gravar ") + Utf8ToCp1252(path) + " (" + Utf8ToCp1252(reason) + ")";
}

}  // namespace taloven
