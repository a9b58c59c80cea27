// The scanner capture's reader: how long a symbol takes from its last byte
// on the line to its status line (the reader's 100 ms settling wait
// included), and the processor time it spends per received byte.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>

#include "formats/symbol_record.h"
#include "scanner/scanner_capture.h"
#include "support/scripted_ui.h"

namespace taloven {
namespace {

using Clock = std::chrono::steady_clock;

class TimedListener : public CaptureListener {
 public:
  void Refresh() override {
    std::lock_guard<std::mutex> hold(lock_);
    shown_ = Clock::now();
    ++refreshes_;
    changed_.notify_all();
  }
  void Beep() override {}
  void AllRead() override {}
  void LineLost() override {}
  // When the refresh after the first `seen` ones came.
  Clock::time_point WaitPast(int seen) {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait_for(hold, std::chrono::seconds(5), [&] { return refreshes_ > seen; });
    return shown_;
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  Clock::time_point shown_;
  int refreshes_ = 0;
};

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Manual time: from the symbol's last byte written to its refresh. Counters:
// the time beyond the settling wait, and the reader's processor time per
// byte (the process's time less this thread's).
void BM_SymbolToStatusLine(benchmark::State& state) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  testing::ScriptedUi ui;
  TimedListener listener;
  ScannerCapture capture(ui, listener);
  const ReaderTiming timing{100, 0};
  capture.SetTiming(timing);
  ScannerSettings settings;
  settings.portName = ptsname(master);
  if (!capture.Start(settings)) {
    state.SkipWithError("the capture did not start");
    return;
  }
  const uint32_t total = 668 * 1000;
  const std::string payload(668, 'p');
  uint32_t symbol = 0;
  int seen = 0;
  double beyondSettle = 0, bytes = 0;
  const double cpuBefore = ProcessCpuSeconds() - ThreadCpuSeconds();
  for (auto _ : state) {
    const std::string record = MakeSymbolRecord(total, 668 * symbol++, payload);
    if (write(master, record.data(), record.size()) != static_cast<ssize_t>(record.size())) {
      state.SkipWithError("the line refused the symbol");
      break;
    }
    const Clock::time_point written = Clock::now();
    const Clock::time_point shown = listener.WaitPast(seen++);
    const double seconds = std::chrono::duration<double>(shown - written).count();
    state.SetIterationTime(seconds);
    beyondSettle += seconds - timing.settleMs / 1000.0;
    bytes += static_cast<double>(record.size());
  }
  const double readerCpu = ProcessCpuSeconds() - ThreadCpuSeconds() - cpuBefore;
  capture.ClosePort();
  close(master);
  state.counters["beyond_settle_ms"] =
      benchmark::Counter(beyondSettle * 1000 / static_cast<double>(state.iterations()));
  state.counters["reader_cpu_ns_per_byte"] = benchmark::Counter(readerCpu * 1e9 / bytes);
}
BENCHMARK(BM_SymbolToStatusLine)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace taloven
