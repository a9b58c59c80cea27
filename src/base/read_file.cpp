#include "base/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/encoding.h"

namespace taloven {
namespace {

Status Failed(const std::string& what, const std::string& path, int code) {
  return Status::Failure(
      W(what) + " " + Utf8ToCp1252(path) + " (" + Utf8ToCp1252(std::strerror(code)) + ")", code);
}

}  // namespace

Status ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Failed("não foi possível abrir", path, errno);
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    return Failed("não foi possível ler", path, EISDIR);
  }
  char chunk[65536];
  while (true) {
    ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      int code = errno;
      ::close(fd);
      bytes.clear();
      return Failed("não foi possível ler", path, code);
    }
    if (got == 0) break;
    bytes.append(chunk, static_cast<size_t>(got));
  }
  ::close(fd);
  return {};
}

}  // namespace taloven
