// How quickly the virtual printer answers: inside the process, and over a
// pseudo-terminal from the last frame byte to the first reply byte.
#include <benchmark/benchmark.h>
#include <poll.h>

#include <chrono>
#include <string>

#include "emulator/emulator_process.h"
#include "printer/printer.h"
#include "printer/wire_frame.h"

namespace {

using namespace taloven::emulator;

const std::vector<uint8_t> kIdentityFrame = BuildFrame(kEsc, {35, 60});

void BM_DecodeAndAnswerIdentity(benchmark::State& state) {
  Printer printer(DefaultPrinterState("ECF-T08"));
  FrameDecoder decoder;
  for (auto _ : state) {
    for (uint8_t b : kIdentityFrame)
      if (decoder.Feed(b) == FrameDecoder::Event::kFrame)
        benchmark::DoNotOptimize(printer.Answer(decoder.TakeFrame()));
  }
}
BENCHMARK(BM_DecodeAndAnswerIdentity);

void BM_AnswerXReading(benchmark::State& state) {
  Printer printer(DefaultPrinterState("ECF-T08"));
  for (auto _ : state) benchmark::DoNotOptimize(printer.Answer(Frame{kEsc, {69}}));
}
BENCHMARK(BM_AnswerXReading);

// Manual time: from the write of the whole frame to the arrival of the first
// reply byte; the whole reply's time is a counter.
void BM_FirstReplyByteOverPty(benchmark::State& state) {
  const std::string link = "/tmp/taloven-bench-tty-" + std::to_string(getpid());
  testing::EmulatorProcess emulator(
      {"--pty", "--link", link, "--baud", std::to_string(state.range(0))});
  testing::RawLine line(link);
  if (!line.Ok()) {
    state.SkipWithError("the emulator did not start");
    return;
  }
  double wholeReply = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    line.Write(kIdentityFrame);
    const std::vector<uint8_t> first = line.Read(1, 2000);
    const auto firstByte = std::chrono::steady_clock::now();
    const std::vector<uint8_t> rest = line.Read(44, 2000);
    wholeReply += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (first.size() + rest.size() != 45) {
      state.SkipWithError("short reply");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(firstByte - start).count());
  }
  state.counters["whole_reply_ms"] =
      benchmark::Counter(wholeReply * 1000 / static_cast<double>(state.iterations()));
  state.counters["reply_line_time_ms"] =
      benchmark::Counter(state.range(0) > 0 ? 45 * 11 * 1000.0 / state.range(0) : 0);
}
BENCHMARK(BM_FirstReplyByteOverPty)->Arg(0)->UseManualTime()->Unit(benchmark::kMicrosecond);
// A paced reply takes some 60 ms: a few dozen rounds are enough.
BENCHMARK(BM_FirstReplyByteOverPty)
    ->Arg(9600)
    ->Iterations(40)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
