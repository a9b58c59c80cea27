#include "catalogue/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace taloven {
namespace {

void SetError(std::string* error, const std::string& what, const std::string& path, int code) {
  if (error) *error = what + " " + path + ": " + std::strerror(code);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error) {
  bytes.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetError(error, "cannot open", path, errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    SetError(error, "cannot read", path, EISDIR);
    return false;
  }
  char chunk[65536];
  while (true) {
    ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      int code = errno;
      ::close(fd);
      bytes.clear();
      SetError(error, "cannot read", path, code);
      return false;
    }
    if (got == 0) break;
    bytes.append(chunk, static_cast<size_t>(got));
  }
  ::close(fd);
  return true;
}

bool WriteWholeFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  std::string temporary = path + ".XXXXXX";
  std::vector<char> name(temporary.begin(), temporary.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) {
    SetError(error, "cannot create a temporary file for", path, errno);
    return false;
  }
  temporary.assign(name.data());
  auto fail = [&](const char* what, int code) {
    ::close(fd);
    ::unlink(temporary.c_str());
    SetError(error, what, path, code);
    return false;
  };

  // mkstemp makes the file private; a saved document should keep the mode of
  // the one it replaces, or get the usual one.
  struct stat existing {};
  mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
  if (::fchmod(fd, mode) != 0) return fail("cannot set the permissions of", errno);

  size_t written = 0;
  while (written < bytes.size()) {
    ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return fail("cannot write", errno);
    written += static_cast<size_t>(put);
  }
  if (::fsync(fd) != 0) return fail("cannot flush", errno);
  if (::close(fd) != 0) {
    int code = errno;
    ::unlink(temporary.c_str());
    SetError(error, "cannot write", path, code);
    return false;
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    int code = errno;
    ::unlink(temporary.c_str());
    SetError(error, "cannot replace", path, code);
    return false;
  }
  return true;
}

}  // namespace taloven
