#include "scanner/scanner_feed.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "formats/little_endian.h"
#include "formats/symbol_record.h"

namespace taloven::emulator {
namespace {

// No application opens a scanner at 50 bit/s: while the line still runs at
// it, nobody has set it up yet.
constexpr speed_t kUnusedSpeed = B50;
constexpr int kWatchStepMs = 10;

// Sleeps up to ms; false when stop was set meanwhile.
bool Pause(int ms, const std::atomic<bool>& stop) {
  for (int waited = 0; waited < ms && !stop; waited += kWatchStepMs)
    poll(nullptr, 0, std::min(kWatchStepMs, ms - waited));
  return !stop;
}

}  // namespace

Status SplitScannerStream(const std::string& stream, std::vector<std::string>& records) {
  records.clear();
  size_t at = 0;
  while (at < stream.size()) {
    if (stream.size() - at < kSymbolHeadBytes + kSymbolTrailerBytes) {
      return Status::Failure("a record cut short at byte " + std::to_string(at));
    }
    const uint64_t total = GetLittleEndian(stream, at, 4);
    const uint64_t offset = GetLittleEndian(stream, at + 4, 4);
    if (offset >= total) {
      return Status::Failure("no symbol record at byte " + std::to_string(at));
    }
    const size_t length =
        kSymbolHeadBytes +
        static_cast<size_t>(std::min<uint64_t>(kSymbolPayloadBytes, total - offset)) +
        kSymbolTrailerBytes;
    if (length > stream.size() - at) {
      return Status::Failure("a record cut short at byte " + std::to_string(at));
    }
    records.push_back(stream.substr(at, length));
    at += length;
  }
  return {};
}

Result<int> PrepareScannerLine(const Transport& transport) {
  // The line's settings are shared by both ends: set and watched through a
  // descriptor of our own on the application's side.
  const int line = open(transport.Address().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios settings{};
  if (line < 0 || tcgetattr(line, &settings) != 0 || cfsetispeed(&settings, kUnusedSpeed) != 0 ||
      cfsetospeed(&settings, kUnusedSpeed) != 0 || tcsetattr(line, TCSANOW, &settings) != 0) {
    const int code = errno;
    if (line >= 0) close(line);
    return Status::Failure(transport.Address() + ": " + std::strerror(code), code);
  }
  return line;
}

Status RunScannerFeed(Transport& transport, int line, const std::vector<std::string>& records,
                      const ScannerFeedOptions& options, const std::atomic<bool>& stop) {
  if (options.verbose) std::fprintf(stderr, "scanner: waiting for the application\n");
  termios settings{};
  while (!stop && tcgetattr(line, &settings) == 0 && cfgetispeed(&settings) == kUnusedSpeed)
    Pause(kWatchStepMs, stop);
  close(line);

  for (size_t i = 0; i < records.size() && !stop; ++i) {
    const int number = static_cast<int>(i) + 1;
    if (options.skip.count(number) != 0) continue;
    const int times = options.repeat.count(number) != 0 ? 2 : 1;
    for (int time = 0; time < times; ++time) {
      // The pause comes first: the application empties the line right
      // after setting it up.
      if (!Pause(options.symbolGapMs, stop)) return {};
      const std::string& record = records[i];
      if (!transport.Send(reinterpret_cast<const uint8_t*>(record.data()), record.size()))
        return Status::Failure("the application stopped reading");
      if (options.verbose)
        std::fprintf(stderr, "scanner: symbol %d/%zu (%zu bytes)\n", number, records.size(),
                     record.size());
    }
  }
  if (options.verbose) std::fprintf(stderr, "scanner: every symbol sent\n");
  while (Pause(100, stop)) {
  }
  return {};
}

}  // namespace taloven::emulator
