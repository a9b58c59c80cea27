#include "base/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "base/encoding.h"

namespace taloven {
namespace {

Status Failed(const std::string& what, const std::string& path, int code) {
  return Status::Failure(
      W(what) + " " + Utf8ToCp1252(path) + " (" + Utf8ToCp1252(std::strerror(code)) + ")", code);
}

Status TooLarge(const std::string& path, uint64_t largest) {
  return Status::Failure(W("o arquivo ") + Utf8ToCp1252(path) + W(" tem mais de ") +
                             std::to_string(largest) + W(" bytes, mais do que pode ter"),
                         EFBIG);
}

// Opens path for reading; a folder fails as it would when read.
Status OpenForReading(const std::string& path, int& fd, struct stat& info) {
  fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Failed("não foi possível abrir", path, errno);
  if (::fstat(fd, &info) != 0) info = {};
  if (!S_ISDIR(info.st_mode)) return {};
  ::close(fd);
  return Failed("não foi possível ler", path, EISDIR);
}

}  // namespace

Status ReadWholeFile(const std::string& path, std::string& bytes, uint64_t largest) {
  bytes.clear();
  int fd = -1;
  struct stat info {};
  if (Status opened = OpenForReading(path, fd, info); !opened.ok()) return opened;
  if (S_ISREG(info.st_mode) && static_cast<uint64_t>(info.st_size) > largest) {
    ::close(fd);
    return TooLarge(path, largest);
  }
  // The whole size at once: a file too big for memory fails here, at once,
  // instead of after filling most of it.
  if (S_ISREG(info.st_mode) && info.st_size > 0) {
    try {
      bytes.reserve(static_cast<size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
      ::close(fd);
      return Failed("não foi possível ler", path, ENOMEM);
    }
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
    // A file that grows while read, or is no plain file, is held to the same.
    if (bytes.size() + static_cast<uint64_t>(got) > largest) {
      ::close(fd);
      bytes.clear();
      return TooLarge(path, largest);
    }
    bytes.append(chunk, static_cast<size_t>(got));
  }
  ::close(fd);
  return {};
}

Status ReadFileInPieces(const std::string& path,
                        const std::function<bool(std::string_view piece)>& take) {
  int fd = -1;
  struct stat info {};
  if (Status opened = OpenForReading(path, fd, info); !opened.ok()) return opened;
  // Closed however take leaves.
  const std::unique_ptr<int, void (*)(int*)> closer(&fd, [](int* open) { ::close(*open); });
  char piece[65536];
  while (true) {
    const ssize_t got = ::read(fd, piece, sizeof piece);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failed("não foi possível ler", path, errno);
    if (got == 0 || !take(std::string_view(piece, static_cast<size_t>(got)))) return {};
  }
}

}  // namespace taloven
