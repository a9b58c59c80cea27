#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <thread>

#include "catalogue/catalogue.h"
#include "link/default_port_factory.h"
#include "link/execute.h"
#include "link/frame_builder.h"
#include "link/reply_decoder.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

// A fixed reply of every command of the sample catalogue: ACK, the return
// data, the status bytes.
std::vector<uint8_t> SyntheticReply(const CommandRecord& record, bool extended) {
  std::vector<uint8_t> reply{0x06};
  if (record.returnSize < 0) {
    reply.insert(reply.end(), extended ? 4 : 2, 0x00);
    for (const char* c = "LEITURA X\n"; *c; ++c) reply.push_back(static_cast<uint8_t>(*c));
    reply.push_back(0x03);
    return reply;
  }
  reply.insert(reply.end(), static_cast<size_t>(record.returnSize), 0x12);
  reply.insert(reply.end(), extended ? 4 : 2, 0x00);
  return reply;
}

void FrameAndFormat(benchmark::State& state, CommandRecord command) {
  const std::vector<uint8_t> reply = SyntheticReply(command, true);
  for (auto _ : state) {
    CommandRecord record = command;
    BuildCommandFrame(record, true);
    record.formattedReturn.clear();
    DecodeReply(record, reply, true);
    benchmark::DoNotOptimize(record.formattedReturn.data());
  }
}

// One benchmark per command of the sample catalogue, with its preset values.
const bool kRegistered = [] {
  CommandCatalogue catalogue;
  if (LoadCatalogue(TALOVEN_SOURCE_DIR "/data", catalogue) != 0) {
    std::fprintf(stderr, "execute_bench: the sample catalogue did not load\n");
    return false;
  }
  for (int k = 0; k < catalogue.Count(); ++k) {
    const CommandRecord& record = catalogue.At(k);
    std::string escape = record.escapeText;
    std::replace(escape.begin(), escape.end(), ' ', '_');
    const std::string name = "BM_FrameAndFormat/" + std::to_string(k) + "/" + escape;
    benchmark::RegisterBenchmark(name.c_str(), FrameAndFormat, record);
  }
  return true;
}();

int64_t ThreadCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The printer side of a pseudo-terminal: answers every frame with the reply.
class PtyPrinter {
 public:
  explicit PtyPrinter(std::vector<uint8_t> reply) : reply_(std::move(reply)) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master_);
    unlockpt(master_);
    path_ = ptsname(master_);
    keeper_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
    thread_ = std::thread([this] { Run(); });
  }
  ~PtyPrinter() {
    stop_ = true;
    thread_.join();
    close(keeper_);
    close(master_);
  }
  const std::string& Path() const { return path_; }

 private:
  void Run() {
    size_t got = 0;
    while (!stop_) {
      pollfd watch{master_, POLLIN, 0};
      if (poll(&watch, 1, 20) <= 0) continue;
      uint8_t buffer[256];
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) continue;
      got += static_cast<size_t>(n);
      if (got < 7) continue;  // a whole frame without parameters
      got = 0;
      size_t sent = 0;
      while (sent < reply_.size()) {
        const ssize_t w = write(master_, reply_.data() + sent, reply_.size() - sent);
        if (w > 0) sent += static_cast<size_t>(w);
      }
    }
  }

  std::vector<uint8_t> reply_;
  int master_ = -1, keeper_ = -1;
  std::string path_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// CPU spent by the executing thread per received byte of the largest fixed
// reply (620 data bytes), over a pseudo-terminal. The waits of the exchange
// are skipped: they cost no CPU and would only slow the run.
void BM_FixedReplyOverPseudoTerminal(benchmark::State& state) {
  constexpr int kReturnSize = 620;
  std::vector<uint8_t> reply{0x06};
  reply.insert(reply.end(), kReturnSize, 0x41);
  reply.insert(reply.end(), {0x00, 0x00});
  PtyPrinter printer(reply);

  AppSettings settings;
  settings.portName = printer.Path();
  settings.workingDirectory =
      std::filesystem::temp_directory_path() / ("taloven-bench-" + std::to_string(getpid()));
  testing::ScriptedUi ui;
  DefaultPortFactory ports;
  testing::TestClock clock;
  ExecutionContext context{settings, ui, ports, clock};
  CommandRecord command;
  command.SetTitle("Formas de pagamento");
  command.SetEscapeText("35");
  command.SetReturnSize(kReturnSize);

  int64_t cpuNs = 0, bytes = 0, failures = 0;
  for (auto _ : state) {
    CommandRecord record = command;
    const int64_t start = ThreadCpuNs();
    if (Execute(record, context) != kExecuteOk) ++failures;
    cpuNs += ThreadCpuNs() - start;
    bytes += static_cast<int64_t>(reply.size());
  }
  std::filesystem::remove_all(settings.workingDirectory);
  state.counters["cpu_ns_per_byte"] = bytes ? static_cast<double>(cpuNs) / bytes : 0;
  state.counters["failures"] = static_cast<double>(failures);
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_FixedReplyOverPseudoTerminal)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace taloven
