#include "transports/file_transport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace taloven::emulator {
namespace {

Status MakeDirectories(const std::string& path) {
  for (size_t at = 1; at <= path.size(); ++at) {
    if (at != path.size() && path[at] != '/') continue;
    const std::string prefix = path.substr(0, at);
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
      const int code = errno;
      return Status::Failure(prefix + ": " + std::strerror(code), code);
    }
  }
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    return Status::Failure(path + " is not a directory");
  return {};
}

}  // namespace

FileTransport::FileTransport(std::string directory)
    : directory_(std::move(directory)),
      commandPath_(directory_ + "/comando.dat"),
      replyPath_(directory_ + "/retorno.dat") {}

Result<std::unique_ptr<FileTransport>> FileTransport::Open(const std::string& directory) {
  if (Status made = MakeDirectories(directory); !made.ok()) return made;
  return std::unique_ptr<FileTransport>(new FileTransport(directory));
}

int FileTransport::TakeCommandBytes(uint8_t* buffer, size_t capacity) {
  const int fd = open(commandPath_.c_str(), O_RDWR);
  if (fd < 0) return errno == ENOENT ? 0 : -1;
  // What is taken is removed at once, as the application's reader does
  // with the reply file; a frame longer than the buffer is taken whole over
  // the next calls.
  const ssize_t got = read(fd, buffer, capacity);
  int result = 0;
  if (got > 0) {
    const off_t total = lseek(fd, 0, SEEK_END);
    if (total > got) {
      // Keep the unread rest at the front of the file.
      std::string rest(static_cast<size_t>(total - got), '\0');
      if (pread(fd, rest.data(), rest.size(), got) == static_cast<ssize_t>(rest.size()) &&
          pwrite(fd, rest.data(), rest.size(), 0) == static_cast<ssize_t>(rest.size()))
        result = ftruncate(fd, static_cast<off_t>(rest.size()));
    } else {
      result = ftruncate(fd, 0);
    }
  }
  close(fd);
  if (got < 0 || result != 0) return -1;
  return static_cast<int>(got);
}

int FileTransport::Receive(uint8_t* buffer, size_t capacity, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const int got = TakeCommandBytes(buffer, capacity);
    if (got != 0) return got;
    if (std::chrono::steady_clock::now() >= deadline) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  }
}

bool FileTransport::Send(const uint8_t* bytes, size_t count) {
  const int fd = open(replyPath_.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0600);
  if (fd < 0) return false;
  size_t sent = 0;
  while (sent < count) {
    const ssize_t wrote = write(fd, bytes + sent, count - sent);
    if (wrote <= 0) break;
    sent += static_cast<size_t>(wrote);
  }
  close(fd);
  return sent == count;
}

}  // namespace taloven::emulator
