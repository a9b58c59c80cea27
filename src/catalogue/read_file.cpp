#include "catalogue/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/encoding.h"

namespace taloven {
namespace {

void SetError(std::string* error, const std::string& what, const std::string& path, int code) {
  if (error)
    *error = W(what) + " " + Utf8ToCp1252(path) + " (" + Utf8ToCp1252(std::strerror(code)) + ")";
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error) {
  bytes.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetError(error, "não foi possível abrir", path, errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    SetError(error, "não foi possível ler", path, EISDIR);
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
      SetError(error, "não foi possível ler", path, code);
      return false;
    }
    if (got == 0) break;
    bytes.append(chunk, static_cast<size_t>(got));
  }
  ::close(fd);
  return true;
}

}  // namespace taloven
