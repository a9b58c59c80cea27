#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace taloven {

// The line a long library transfer draws: bytes, share, rate and time left,
// e.g. "12288/49152 bytes (25%) 4,0 KB/s, faltam 0:09". seconds is the time
// since the transfer began; rate and time left are "--" until it is known.
std::string DownloadProgressLine(long long done, long long total, double seconds);

// One transfer's line on a terminal, redrawn in place as reports come. End
// closes it with a newline whether the transfer finished or stopped short,
// so that what is printed next starts on a line of its own.
class DownloadProgress {
 public:
  explicit DownloadProgress(std::FILE* stream) : stream_(stream) {}
  void Report(long long done, long long total);
  void End();

 private:
  static constexpr std::chrono::milliseconds kRedrawEvery{100};

  std::FILE* stream_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point drawnAt_;
};

}  // namespace taloven
