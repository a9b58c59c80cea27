// The X-reading parser and the verifier's arithmetic on arbitrary readings.
// The input is two stored readings, before and after, split at the first
// zero byte (one reading alone serves as both).
//
// Properties: a reading read in pieces of any size is the reading read in
// one; before + (after - before) is after wherever the arithmetic stayed in
// range; and the verifier's report has an error line exactly for
// each field that differs or is out of range, between the two readings and
// between the sum and after.
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

#include "fuzz_files.h"
#include "sequences/reading_compare.h"
#include "sequences/reading_parser.h"
#include "sequences/totals_reading.h"

namespace {

using namespace taloven;
using fuzz::Require;

template <typename T>
bool Differs(T a, T b) {
  return a != b || a == kOutOfRange<T>;
}

// How many fields of the two an exact comparison finds wrong; and whether
// restoring `after` from the sum failed anywhere the sum was in range.
struct Tally {
  size_t wrong = 0;
  bool restoredWrong = false;
};

Tally Compare(const TotalsReading& expected, const TotalsReading& found) {
  Tally tally;
  auto one = [&tally](auto e, auto f) {
    if (Differs(e, f)) ++tally.wrong;
    if (e != kOutOfRange<decltype(e)> && e != f) tally.restoredWrong = true;
  };
  ForEachField(
      [&](const char*, FieldKind, const auto& e, const auto& f) {
        if constexpr (std::is_arithmetic_v<std::remove_cvref_t<decltype(e)>>) {
          one(e, f);
        } else {
          for (size_t i = 0; i < e.size(); ++i) one(e[i], f[i]);
        }
      },
      expected, found);
  return tally;
}

size_t ErrorLines(const std::string& report) {
  size_t count = 0;
  for (size_t at = report.find("\tERRO:"); at != std::string::npos;
       at = report.find("\tERRO:", at + 1))
    ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = fuzz::Bytes(data, size);
  const size_t split = input.find('\0');
  const std::string_view beforeText = input.substr(0, split);
  const std::string_view afterText =
      split == std::string_view::npos ? beforeText : input.substr(split + 1);

  const TotalsReading before = ParseReadingText(beforeText);
  const TotalsReading after = ParseReadingText(afterText);
  // A size of piece from the input, so that every line end falls on a piece
  // boundary somewhere in the corpus.
  const size_t piece = 1 + size % 67;
  Require(
      ParseReadingText(beforeText, piece) == before && ParseReadingText(afterText, piece) == after,
      "a reading read in pieces is the reading read in one");

  const TotalsReading expected = Sum(Difference(before, after), before);
  const Tally tally = Compare(expected, after);
  Require(!tally.restoredWrong, "before plus what changed is after, wherever it is in range");
  Require(ErrorLines(CompareReadings(before, after)) == Compare(before, after).wrong,
          "the report tells apart any two readings that differ");
  const std::string report = CompareReadings(expected, after);
  Require(ErrorLines(report) == tally.wrong, "an error line for each field that differs");
  Require(ReportHasErrors(report) == (tally.wrong > 0),
          "the report has errors when a field differs");
  return 0;
}
