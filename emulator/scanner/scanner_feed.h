#pragma once

#include <atomic>
#include <set>
#include <string>
#include <vector>

#include "base/result.h"
#include "transports/transport.h"

namespace taloven::emulator {

// A scanner reading the printer's PDF-417 symbols: it sends one symbol's
// record at a time over the line, with a pause between them as a person
// scanning takes.
struct ScannerFeedOptions {
  int symbolGapMs = 2000;
  std::set<int> repeat;  // symbols (from 1) sent twice
  std::set<int> skip;    // symbols (from 1) left out
  bool verbose = false;
};

// Cuts a scanner's stream (records back to back) into its records, each
// as long as its head says. Fails, saying where, when the bytes are no such
// stream.
Status SplitScannerStream(const std::string& stream, std::vector<std::string>& records);

// Leaves the line at a speed no application uses, so that the feed can
// tell when one has set it up; done before the line's address is given
// out. The descriptor the feed watches the line through.
Result<int> PrepareScannerLine(const Transport& transport);

// Waits for the application to set the line up (it changes the line's
// speed from the prepared one), then sends the records and keeps the line
// until stop is set. Closes line; fails when the line failed.
Status RunScannerFeed(Transport& transport, int line, const std::vector<std::string>& records,
                      const ScannerFeedOptions& options, const std::atomic<bool>& stop);

}  // namespace taloven::emulator
