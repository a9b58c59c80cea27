#pragma once

namespace taloven {

// A serial line's time-outs, kept by every port that stands in for one: a
// read of n bytes gives up after kPerByteMs * n + kReadConstantMs, or
// kReadIntervalMs after a byte when the next one does not follow; a write
// of n bytes after kPerByteMs * n + kWriteConstantMs.
constexpr int kPerByteMs = 1000;
constexpr int kReadConstantMs = 5;
constexpr int kWriteConstantMs = 1;
constexpr int kReadIntervalMs = 10;

}  // namespace taloven
