#include "download_progress.h"

namespace taloven {
namespace {

std::string Decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  std::string out = text;
  for (char& c : out)
    if (c == '.') c = ',';
  return out;
}

std::string Rate(double bytesPerSecond) {
  if (bytesPerSecond >= 1024.0 * 1024.0)
    return Decimal(bytesPerSecond / (1024.0 * 1024.0)) + " MB/s";
  if (bytesPerSecond >= 1024.0) return Decimal(bytesPerSecond / 1024.0) + " KB/s";
  return Decimal(bytesPerSecond) + " B/s";
}

std::string Duration(long long seconds) {
  char text[32];
  if (seconds >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
  return text;
}

}  // namespace

std::string DownloadProgressLine(long long done, long long total, double seconds) {
  std::string line = std::to_string(done) + "/" + std::to_string(total) + " bytes (" +
                     std::to_string(total > 0 ? done * 100 / total : 0) + "%) ";
  // Under a tenth of a second, or before the first byte, a rate would be noise.
  if (seconds < 0.1 || done <= 0) return line + "-- B/s, faltam --";
  const double rate = static_cast<double>(done) / seconds;
  const long long left =
      done >= total ? 0 : static_cast<long long>(static_cast<double>(total - done) / rate + 0.5);
  return line + Rate(rate) + ", faltam " + Duration(left);
}

void DownloadProgress::Report(long long done, long long total) {
  if (total <= 0) return;
  const auto now = std::chrono::steady_clock::now();
  if (!drawn_) start_ = now;
  // A report goes through thousands of documents, and a download waiting on
  // the printer reports the same figures again: the line is redrawn ten
  // times a second at most, and at the end.
  if (drawn_ && done < total && now - drawnAt_ < kRedrawEvery) return;
  drawnAt_ = now;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  // "\033[K" clears what a longer line before this one left on the right.
  std::fprintf(stream_, "\r%s\033[K", DownloadProgressLine(done, total, seconds).c_str());
  std::fflush(stream_);
  drawn_ = true;
}

void DownloadProgress::End() {
  if (!drawn_) return;
  std::fputc('\n', stream_);
  std::fflush(stream_);
  drawn_ = false;
}

}  // namespace taloven
