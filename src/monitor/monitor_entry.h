#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace taloven {

// A point in time as the monitor notes it: the steady milliseconds that
// measure waits, and the local time shown.
struct Moment {
  int64_t ms = 0;
  std::tm local{};
  int millisecond = 0;
};

// The moment now, from the system's clocks.
Moment MomentNow();

// "HH:MM:SS.mmm".
std::string MomentText(const Moment& moment);

// One thing the monitor saw on the line, ready to show.
struct MonitorEntry {
  enum class Kind {
    kExchange,        // a command of the catalogue and its reply
    kNoReply,         // a command of the catalogue whose reply did not come whole
    kNak,             // a frame the printer answered with a lone NAK
    kUnknownCommand,  // a sound frame whose command the catalogue does not hold
    kBadFrame,        // a wrong checksum, length or start byte, or a frame cut short
    kStrayBytes,      // bytes outside any frame
  };
  Kind kind = Kind::kExchange;
  std::string time;       // when its first byte came, HH:MM:SS.mmm
  int64_t elapsedMs = 0;  // from the end of the command to the end of its reply
  std::string command;    // the command's title, or what the kind is
  std::string status;     // the status in one line
  std::string text;       // the whole block, Windows-1252, lines ended by LF
  std::string dump;       // the hex dump, as the results window's Dump shows it
  bool refused = false;   // the printer said no
};

// The monitor's counts, for the summary at the end.
struct MonitorCounts {
  int exchanges = 0;
  int refused = 0;
  int unanswered = 0;
  int unknown = 0;
  int badFrames = 0;
  int naks = 0;
  int64_t strayBytes = 0;
  bool logFailed = false;  // an exchange could not be added to the daily log
};

// The summary's lines, Windows-1252.
std::string SummaryText(const MonitorCounts& counts);

// Where the monitor shows what it sees; the CLI prints, the window lists.
class MonitorView {
 public:
  virtual ~MonitorView() = default;
  virtual void Show(const MonitorEntry& entry) = 0;
  // A line about the monitor itself: a port lost or back, a log not written.
  virtual void Notice(const std::string& text) = 0;
};

}  // namespace taloven
