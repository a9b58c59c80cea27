#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace taloven {

// Where the bytes exchanged with printers are written down, for any program
// of this system that opens a port, the fiscal-memory libraries included:
// TALOVEN_TRACE names a file ("-" for standard error); else
// TALOVEN_TRACE_DIR names a working directory whose log/Trace_YYYY_MM_DD.txt
// of the day is used.
constexpr const char* kTraceVariable = "TALOVEN_TRACE";
constexpr const char* kTraceDirectoryVariable = "TALOVEN_TRACE_DIR";

// The file of the day's trace in a working directory.
std::string TraceFilePath(const std::string& workingDirectory);

// Appends one line per burst of bytes: "HH:MM:SS.mmm > 02 05 00" for bytes
// sent, "<" for bytes received, and a blank line after each exchange. Every
// line is one write to a file opened for appending, so lines from several
// ports or processes never tear.
class ByteTrace {
 public:
  // Opens the destination, creating the file; nullptr with the system's
  // reason in failure (when given) if it cannot be opened.
  static std::unique_ptr<ByteTrace> Open(const std::string& path, std::string* failure = nullptr);
  // The trace the environment asks for, or nullptr.
  static std::unique_ptr<ByteTrace> FromEnvironment();
  ~ByteTrace();
  ByteTrace(const ByteTrace&) = delete;
  ByteTrace& operator=(const ByteTrace&) = delete;

  void Sent(const uint8_t* bytes, size_t count);
  // Received bytes that follow each other closely make one line.
  void Received(const uint8_t* bytes, size_t count);
  // Writes what is held and the blank line, when anything was traced.
  void EndExchange();

 private:
  explicit ByteTrace(int fd, bool owned) : fd_(fd), owned_(owned) {}
  void Flush();
  void WriteLine(char direction, const std::string& hex, const std::string& stamp);

  int fd_;
  bool owned_;
  char last_ = 0;     // the direction of the latest line of this exchange
  std::string held_;  // received bytes not yet written, as hex
  std::string heldStamp_;
  int64_t lastReceivedMs_ = 0;
};

}  // namespace taloven
