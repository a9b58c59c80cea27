#include <benchmark/benchmark.h>

#include "replies/hex_dump.h"
#include "replies/return_format.h"

namespace taloven {
namespace {

// The largest fixed reply the catalogue knows: the payment-form table.
CommandRecord PaymentFormsReply() {
  CommandRecord record;
  ReturnField field;
  field.type = "FORMAS_DE_PAGAMENTO";
  field.size = 620;
  record.returnFields = {field};
  record.returnSize = 620;
  record.replyBytes.assign(1 + 620 + 4, 0x41);
  record.replyBytes[0] = 0x06;
  return record;
}

void BM_FormatPaymentForms(benchmark::State& state) {
  const CommandRecord reply = PaymentFormsReply();
  for (auto _ : state) {
    CommandRecord record = reply;
    FormatReturnData(record, true);
    benchmark::DoNotOptimize(record.formattedReturn.data());
  }
}
BENCHMARK(BM_FormatPaymentForms);

void BM_HexDumpOfPaymentFormsExchange(benchmark::State& state) {
  std::string dump = "CMD:  02 04 00 1C 23 3F 00\r\nRET: ";
  for (int i = 0; i < 625; ++i) dump += " 41";
  dump += "\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(HexDumpText(dump));
}
BENCHMARK(BM_HexDumpOfPaymentFormsExchange);

// A sequence's dump joins the dumps of all its exchanges: each a frame of a
// command with parameters and a short reply.
void BM_HexDumpOfManyExchanges(benchmark::State& state) {
  std::string dump;
  for (int64_t k = 0; k < state.range(0); ++k) {
    dump += "CMD: ";
    for (int i = 0; i < 40; ++i) dump += " 3";
    dump += "\r\nRET:  06 00 00\r\n";
  }
  for (auto _ : state) benchmark::DoNotOptimize(HexDumpText(dump));
  state.counters["dump_KB"] = static_cast<double>(dump.size()) / 1e3;
}
BENCHMARK(BM_HexDumpOfManyExchanges)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace taloven
