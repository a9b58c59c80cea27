// The symbol-record parser on what a scanner could send, through the
// capture's table of symbols. The input is a series of symbols, each led by
// its length (two bytes, little-endian).
//
// Properties: a sound record written again is the bytes received; the
// capture's verdict agrees with the parser's; the journal it would save is
// the stored pieces in order, never more than the set's size, and all of it
// when every symbol came with its whole share.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "formats/symbol_record.h"
#include "fuzz_files.h"
#include "scanner/capture_state.h"

namespace {

using namespace taloven;
using fuzz::Require;

void CheckRecord(std::string_view bytes, SymbolCheck check, const SymbolRecord& record) {
  if (check != SymbolCheck::Sound) return;
  Require(record.offset % kSymbolPayloadBytes == 0 && record.offset < record.total,
          "a sound record's piece starts a symbol within its set");
  Require(SymbolNumber(record.offset) < SymbolCount(record.total),
          "a sound record's number is one of its set");
  Require(MakeSymbolRecord(record.total, record.offset, record.payload,
                           bytes.substr(bytes.size() - kSymbolTrailerBytes)) == bytes,
          "a sound record written again is the bytes received");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input = fuzz::Bytes(data, size);
  CaptureState capture;
  std::map<uint32_t, std::string> stored;  // the pieces the capture kept, by number
  bool wholeShares = true;
  uint32_t total = 0;  // the set's size, from its first stored symbol
  while (input.size() >= 2) {
    const size_t length = static_cast<uint8_t>(input[0]) | static_cast<uint8_t>(input[1]) << 8;
    input.remove_prefix(2);
    const std::string_view symbol = input.substr(0, length);
    input.remove_prefix(symbol.size());
    // The reader keeps what fits its buffer; a symbol beyond it is refused.
    if (symbol.size() > kScannerBufferBytes) {
      capture.RejectTooLong(symbol.substr(0, kScannerBufferBytes));
      continue;
    }
    SymbolRecord record;
    const SymbolCheck check = ReadSymbolRecord(symbol, record);
    CheckRecord(symbol, check, record);
    const uint32_t before = capture.ReadCount();
    const SymbolVerdict verdict = capture.Accept(symbol);
    switch (check) {
      case SymbolCheck::TooShort:
        Require(verdict == SymbolVerdict::TooShort, "a short record is refused as short");
        break;
      case SymbolCheck::OutOfSet:
        Require(verdict == SymbolVerdict::OtherSet, "a record out of its set is refused");
        break;
      case SymbolCheck::Sound:
        Require(verdict != SymbolVerdict::TooShort, "a sound record is never short");
        break;
    }
    Require(capture.ReadCount() == before + (verdict == SymbolVerdict::Stored ? 1 : 0),
            "only a stored symbol counts as read");
    if (verdict == SymbolVerdict::Stored) {
      stored.emplace(SymbolNumber(record.offset), std::string(record.payload));
      if (stored.size() == 1) total = record.total;
      Require(record.total == total, "a stored symbol belongs to the set of the first");
      wholeShares = wholeShares && !record.payload.empty();
    }
    Require(capture.ReadCount() <= capture.SetSize(), "no more symbols are read than the set has");
  }
  std::string expected;
  for (const auto& [number, piece] : stored) expected += piece;
  const std::string payload = capture.Payload();
  Require(payload == expected, "the saved journal is the stored pieces in order");
  Require(payload.size() <= total, "the saved journal is never larger than its set");
  if (capture.AllRead() && wholeShares)
    Require(payload.size() == total, "a set read whole gives the whole journal");
  return 0;
}
