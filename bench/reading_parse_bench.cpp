#include <benchmark/benchmark.h>

#include "base/printer_charset.h"
#include "printer/printer_state.h"
#include "printer/reports.h"
#include "sequences/reading_compare.h"
#include "sequences/reading_parser.h"

namespace taloven {
namespace {

// Readings of a printer with every table in use, one after another until
// the text has 10,000 lines, as the results window would store them.
std::string LongReading() {
  emulator::PrinterState state = emulator::DefaultPrinterState("ECF-T08");
  for (size_t k = 3; k < 30; ++k) state.nonFiscal[k].name = "TOTALIZADOR " + std::to_string(k);
  for (size_t k = 3; k < 20; ++k) state.payments[k].name = "MEIO " + std::to_string(k);
  for (size_t k = 1; k < 30; ++k) state.reports[k].name = "RELATORIO " + std::to_string(k);
  for (auto& rate : state.taxRates) rate.total = 123456789;
  std::string one = emulator::XReadingText(state, 1767225600);
  PrinterTextToWindows(one);
  std::string text;
  int lines = 0;
  while (lines < 10000) {
    for (char c : one) {
      if (c == '\n') {
        text += "\r\n";
        if (++lines == 10000) break;
      } else {
        text += c;
      }
    }
  }
  return text;
}

void BM_ParseReading10000Lines(benchmark::State& state) {
  const std::string text = LongReading();
  for (auto _ : state) {
    TotalsReading reading = ParseReadingText(text);
    benchmark::DoNotOptimize(reading);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ParseReading10000Lines);

void BM_CompareReadings(benchmark::State& state) {
  const TotalsReading found = ParseReadingText(LongReading());
  TotalsReading expected = found;
  expected.paymentMeans[3] += 1;
  for (auto _ : state) benchmark::DoNotOptimize(CompareReadings(expected, found));
}
BENCHMARK(BM_CompareReadings);

}  // namespace
}  // namespace taloven
