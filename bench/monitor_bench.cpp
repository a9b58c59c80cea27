#include <benchmark/benchmark.h>
#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "catalogue/catalogue.h"
#include "emulator/emulator_process.h"
#include "monitor/monitor_run.h"
#include "support/temp_directory.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// "Flags fiscais": a seven-byte frame and a four-byte reply.
const std::vector<uint8_t> kFrame = {0x02, 0x05, 0x00, 0x1B, 0x23, 0x11, 0x4F, 0x00};
constexpr size_t kReplySize = 4;

class Quiet : public MonitorView {
 public:
  void Show(const MonitorEntry&) override {}
  void Notice(const std::string&) override {}
};

int64_t ResidentKb() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  long pages = 0, resident = 0;
  if (statm) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A virtual printer at full speed, and the monitor before it when asked.
class Bench {
 public:
  explicit Bench(bool monitored)
      : printer_({"--pty", "--link", (work_.Path() / "printer").string(), "--baud", "0"}) {
    std::string path = (work_.Path() / "printer").string();
    if (monitored) {
      loaded_ = LoadCatalogue(TALOVEN_SOURCE_DIR "/data", catalogue_).ok();
      MonitorSettings settings;
      settings.printerPort = path;
      settings.linkPath = (work_.Path() / "program").string();
      settings.watch.workingDirectory = work_.Path().string();
      relay_ = std::make_unique<MonitorRelay>(settings, catalogue_, view_, ports_);
      started_ = relay_->Start().ok();
      thread_ = std::thread([this] { relay_->Serve([this] { return stop_.load(); }); });
      path = settings.linkPath;
    }
    line_ = std::make_unique<emulator::testing::RawLine>(path);
  }
  ~Bench() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  bool Ok() const { return line_->Ok() && (!relay_ || (loaded_ && started_)); }

  // One exchange; false when the reply did not come whole.
  bool Exchange() {
    line_->Write(kFrame);
    return line_->Read(kReplySize, 2000).size() == kReplySize;
  }

  // CPU time the monitor's thread has used, in microseconds.
  double MonitorCpuMicros() {
    clockid_t clock{};
    timespec used{};
    if (!thread_.joinable() || pthread_getcpuclockid(thread_.native_handle(), &clock) != 0 ||
        clock_gettime(clock, &used) != 0)
      return 0;
    return static_cast<double>(used.tv_sec) * 1e6 + static_cast<double>(used.tv_nsec) / 1e3;
  }

 private:
  testing::TempDirectory work_;
  emulator::testing::EmulatorProcess printer_;
  CommandCatalogue catalogue_;
  bool loaded_ = false;
  Quiet view_;
  DefaultPortFactory ports_;
  std::unique_ptr<MonitorRelay> relay_;
  bool started_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::unique_ptr<emulator::testing::RawLine> line_;
};

// The time of one exchange, straight to the printer (0) or through the
// monitor (1); the median is the figure to compare.
void BM_Exchange(benchmark::State& state) {
  Bench bench(state.range(0) == 1);
  if (!bench.Ok()) {
    state.SkipWithError("the printer or the monitor did not start");
    return;
  }
  bench.Exchange();  // the first exchange sets the line up
  std::vector<double> micros;
  const double cpuBefore = bench.MonitorCpuMicros();
  for (auto _ : state) {
    const auto start = Clock::now();
    if (!bench.Exchange()) {
      state.SkipWithError("a reply did not come whole");
      return;
    }
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  state.counters["median_us"] = Median(micros);
  if (state.range(0) == 1) {
    const double bytes = static_cast<double>(micros.size() * (kFrame.size() + kReplySize));
    state.counters["monitor_cpu_us_per_byte"] = (bench.MonitorCpuMicros() - cpuBefore) / bytes;
  }
}
BENCHMARK(BM_Exchange)->Arg(0)->Arg(1)->Iterations(2000)->UseRealTime();

// Ten thousand exchanges through the monitor: the memory it holds after the
// first thousand and at the end.
void BM_TenThousandExchanges(benchmark::State& state) {
  for (auto _ : state) {
    Bench bench(true);
    if (!bench.Ok()) {
      state.SkipWithError("the printer or the monitor did not start");
      return;
    }
    int64_t afterThousand = 0;
    for (int i = 0; i < 10000; ++i) {
      if (!bench.Exchange()) {
        state.SkipWithError("a reply did not come whole");
        return;
      }
      if (i == 999) afterThousand = ResidentKb();
    }
    state.counters["rss_kb_after_1000"] = static_cast<double>(afterThousand);
    state.counters["rss_kb_after_10000"] = static_cast<double>(ResidentKb());
  }
}
BENCHMARK(BM_TenThousandExchanges)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace taloven
