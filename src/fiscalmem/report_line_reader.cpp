#include "fiscalmem/report_line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace taloven {
namespace {

constexpr size_t kBlock = 64;

struct BlockMasks {
  uint64_t newlines = 0;
  uint64_t pairs = 0;  // bit i: a pair starts at byte i
};

// The pairs spread over every byte of a vector once per call, not per block.
class PairFinder {
 public:
  // The vector path reads the pairs only here; the plain one keeps them.
  explicit PairFinder(const ReportLineReader::BytePairs& pairs)
#if !defined(__SSE2__)
      : pairs_(pairs)
#endif
  {
#if defined(__SSE2__)
    for (size_t k = 0; k < pairs.size(); ++k) {
      firsts_[k] = _mm_set1_epi8(pairs[k].first);
      seconds_[k] = _mm_set1_epi8(pairs[k].second);
    }
#endif
  }

  // Reads the 64 bytes at p and the byte after them.
  BlockMasks Scan(const char* p) const {
    BlockMasks masks;
#if defined(__SSE2__)
    const __m128i newline = _mm_set1_epi8('\n');
    for (size_t part = 0; part < kBlock; part += 16) {
      const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + part));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + part + 1));
      __m128i found = _mm_setzero_si128();
      for (size_t k = 0; k < kPairs; ++k)
        found = _mm_or_si128(found, _mm_and_si128(_mm_cmpeq_epi8(here, firsts_[k]),
                                                  _mm_cmpeq_epi8(next, seconds_[k])));
      masks.newlines |= static_cast<uint64_t>(
                            static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, newline))))
                        << part;
      masks.pairs |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(found))) << part;
    }
#else
    for (size_t i = 0; i < kBlock; ++i) {
      if (p[i] == '\n') masks.newlines |= uint64_t{1} << i;
      for (const auto& pair : pairs_)
        if (p[i] == pair.first && p[i + 1] == pair.second) masks.pairs |= uint64_t{1} << i;
    }
#endif
    return masks;
  }

 private:
#if defined(__SSE2__)
  static constexpr size_t kPairs = std::tuple_size_v<ReportLineReader::BytePairs>;
  __m128i firsts_[kPairs], seconds_[kPairs];
#else
  const ReportLineReader::BytePairs& pairs_;
#endif
};

}  // namespace

ReportLineReader::ReportLineReader(const std::string& path, size_t bufferSize)
    : buffer_(std::max(bufferSize, 2 * (kMaxLineLength + 2)) + kBlock) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = std::strerror(errno);
    return;
  }
  struct stat info {};
  if (::fstat(fd_, &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      error_ = std::strerror(EISDIR);
      ::close(fd_);
      fd_ = -1;
      return;
    }
    if (S_ISREG(info.st_mode)) size_ = static_cast<uint64_t>(info.st_size);
  }
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

ReportLineReader::~ReportLineReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool ReportLineReader::Refill() {
  // The unfinished line moves to the front; the rest of the buffer is filled.
  const size_t rest = end_ - begin_;
  if (rest > 0 && begin_ > 0) std::memmove(buffer_.data(), buffer_.data() + begin_, rest);
  begin_ = 0;
  end_ = rest;
  for (;;) {
    // The block scan reads one byte past the data: the last block is kept free.
    const ssize_t got = ::read(fd_, buffer_.data() + end_, buffer_.size() - kBlock - end_);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error_ = std::strerror(errno);
      return false;
    }
    if (got == 0) atEnd_ = true;
    end_ += static_cast<size_t>(got);
    return true;
  }
}

ReportLineReader::Status ReportLineReader::Next(std::string_view* line) {
  if (fd_ < 0) return Status::ReadFailed;
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const size_t available = end_ - begin_;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', available));
    size_t length = 0;
    if (lf) {
      length = static_cast<size_t>(lf - start);
      begin_ += length + 1;
      consumed_ += length + 1;
    } else if (atEnd_ && available > 0) {
      length = available;  // the last line has no end
      begin_ = end_;
      consumed_ += length;
    } else if (atEnd_) {
      return Status::End;
    } else {
      // Without an LF in sight, a line longer than allowed needs no more reading.
      if (available > kMaxLineLength + 1) return Status::LongLine;
      if (!Refill()) return Status::ReadFailed;
      continue;
    }
    if (length > 0 && start[length - 1] == '\r') --length;
    if (length > kMaxLineLength) return Status::LongLine;
    *line = std::string_view(start, length);
    return Status::Line;
  }
}

}  // namespace taloven

namespace taloven {

long ReportLineReader::SkipLinesWithout(const BytePairs& pairs, long maxLines) {
  if (fd_ < 0) return 0;
  const char* const data = buffer_.data();
  size_t lineStart = begin_;
  long skipped = 0;
  bool stop = false;
  const PairFinder finder(pairs);
  // Whole blocks only: the lines at the end of the data are left to Next().
  for (size_t block = begin_; !stop && block + kBlock <= end_; block += kBlock) {
    const BlockMasks masks = finder.Scan(data + block);
    // Newlines before the first pair end lines that hold none.
    uint64_t newlines = masks.newlines;
    if (masks.pairs) {
      newlines &= (uint64_t{1} << std::countr_zero(masks.pairs)) - 1;
      stop = true;
    }
    for (; newlines && skipped < maxLines; newlines &= newlines - 1) {
      const size_t lf = block + static_cast<size_t>(std::countr_zero(newlines));
      size_t length = lf - lineStart;
      if (length > 0 && data[lf - 1] == '\r') --length;
      if (length > kMaxLineLength) break;
      lineStart = lf + 1;
      ++skipped;
    }
    if (newlines) stop = true;  // a long line or enough lines
  }
  consumed_ += lineStart - begin_;
  begin_ = lineStart;
  return skipped;
}

}  // namespace taloven
