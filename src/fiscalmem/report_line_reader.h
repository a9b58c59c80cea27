#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taloven {

// Reads a text report line by line through a large buffer: reports run to
// hundreds of megabytes and are read at the speed of the disk. Lines end
// with LF; a CR before it is dropped.
class ReportLineReader {
 public:
  // Longest line content accepted; a longer one stops the reading.
  static constexpr size_t kMaxLineLength = 499;

  enum class Status { Line, End, LongLine, ReadFailed };

  explicit ReportLineReader(const std::string& path, size_t bufferSize = 1 << 20);
  ~ReportLineReader();
  ReportLineReader(const ReportLineReader&) = delete;
  ReportLineReader& operator=(const ReportLineReader&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // The system's reason for the last failure (opening or reading).
  const std::string& Error() const { return error_; }

  // The next line, valid until the next call, when the status is Line.
  Status Next(std::string_view* line);

  // Two bytes that stand side by side in a searched text.
  struct BytePair {
    char first, second;
  };
  using BytePairs = std::array<BytePair, 5>;
  // Passes over at most maxLines whole lines of the buffered data that hold
  // none of the pairs, far faster than Next() would, and returns how many.
  // It stops before a line holding a pair, a line too long or a line that
  // is not complete in the buffer: Next() goes on from there.
  long SkipLinesWithout(const BytePairs& pairs, long maxLines);

  uint64_t BytesRead() const { return consumed_; }
  // The file's size when it was opened (0 when unknown).
  uint64_t Size() const { return size_; }

 private:
  bool Refill();

  int fd_ = -1;
  std::string error_;
  std::vector<char> buffer_;
  size_t begin_ = 0, end_ = 0;
  bool atEnd_ = false;
  uint64_t consumed_ = 0;
  uint64_t size_ = 0;
};

}  // namespace taloven
