#include "link/byte_trace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace taloven {
namespace {

// Bytes of one reply arrive a byte time apart; a longer silence starts a
// new line, so that the times show where the printer paused.
constexpr int64_t kBurstGapMs = 20;

struct Now {
  int64_t monotonicMs;
  std::string stamp;  // local time, HH:MM:SS.mmm
};

Now TakeNow() {
  timespec real{}, steady{};
  clock_gettime(CLOCK_REALTIME, &real);
  clock_gettime(CLOCK_MONOTONIC, &steady);
  std::tm local{};
  localtime_r(&real.tv_sec, &local);
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour % 100, local.tm_min % 100,
                local.tm_sec % 100, static_cast<int>(real.tv_nsec / 1000000) % 1000);
  return {static_cast<int64_t>(steady.tv_sec) * 1000 + steady.tv_nsec / 1000000, text};
}

void AppendHex(std::string& hex, const uint8_t* bytes, size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (size_t i = 0; i < count; ++i) {
    hex += ' ';
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 0x0F];
  }
}

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a trace never stops the exchange it watches
    done += static_cast<size_t>(n);
  }
}

}  // namespace

std::string TraceFilePath(const std::string& workingDirectory) {
  const time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char name[32];
  std::strftime(name, sizeof name, "Trace_%Y_%m_%d.txt", &local);
  return (workingDirectory.empty() ? std::string(".") : workingDirectory) + "/log/" + name;
}

std::unique_ptr<ByteTrace> ByteTrace::Open(const std::string& path, std::string* failure) {
  if (path == "-") return std::unique_ptr<ByteTrace>(new ByteTrace(STDERR_FILENO, false));
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (failure) *failure = path + ": " + std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<ByteTrace>(new ByteTrace(fd, true));
}

std::unique_ptr<ByteTrace> ByteTrace::FromEnvironment() {
  if (const char* path = std::getenv(kTraceVariable); path && *path) return Open(path);
  const char* directory = std::getenv(kTraceDirectoryVariable);
  if (!directory || !*directory) return nullptr;
  // The daily log makes the same folder beside it.
  ::mkdir((std::string(directory) + "/log").c_str(), 0777);
  return Open(TraceFilePath(directory));
}

ByteTrace::~ByteTrace() {
  EndExchange();
  if (owned_) ::close(fd_);
}

void ByteTrace::WriteLine(char direction, const std::string& hex, const std::string& stamp) {
  std::string line = stamp;
  line += ' ';
  line += direction;
  line += hex;
  line += '\n';
  WriteAll(fd_, line);
  last_ = direction;
}

void ByteTrace::Flush() {
  if (held_.empty()) return;
  WriteLine('<', held_, heldStamp_);
  held_.clear();
}

void ByteTrace::Sent(const uint8_t* bytes, size_t count) {
  if (count == 0) return;
  Flush();
  // A command after a reply opens the next exchange.
  if (last_ == '<') EndExchange();
  std::string hex;
  AppendHex(hex, bytes, count);
  WriteLine('>', hex, TakeNow().stamp);
}

void ByteTrace::Received(const uint8_t* bytes, size_t count) {
  if (count == 0) return;
  const Now now = TakeNow();
  if (!held_.empty() && now.monotonicMs - lastReceivedMs_ > kBurstGapMs) Flush();
  if (held_.empty()) heldStamp_ = now.stamp;
  AppendHex(held_, bytes, count);
  lastReceivedMs_ = now.monotonicMs;
}

void ByteTrace::EndExchange() {
  Flush();
  if (last_ == 0) return;
  WriteAll(fd_, "\n");
  last_ = 0;
}

}  // namespace taloven
