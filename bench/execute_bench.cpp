#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <thread>

#include "catalogue/catalogue.h"
#include "emulator/emulator_process.h"
#include "link/clock.h"
#include "link/execute.h"
#include "link/frame_builder.h"
#include "link/reply_decoder.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"
#include "usb/default_port_factory.h"

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
  if (!LoadCatalogue(TALOVEN_SOURCE_DIR "/data", catalogue).ok()) {
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

// Read system calls this thread has made so far.
int64_t ThreadReadCalls() {
  std::FILE* io = std::fopen("/proc/thread-self/io", "r");
  if (!io) return 0;
  long long calls = 0;
  char line[128];
  while (std::fgets(line, sizeof line, io))
    if (std::sscanf(line, "syscr: %lld", &calls) == 1) break;
  std::fclose(io);
  return calls;
}

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

  int64_t cpuNs = 0, bytes = 0, failures = 0, reads = 0;
  for (auto _ : state) {
    CommandRecord record = command;
    const int64_t start = ThreadCpuNs();
    const int64_t readsBefore = ThreadReadCalls();
    if (Execute(record, context) != kExecuteOk) ++failures;
    reads += ThreadReadCalls() - readsBefore;
    cpuNs += ThreadCpuNs() - start;
    bytes += static_cast<int64_t>(reply.size());
  }
  std::filesystem::remove_all(settings.workingDirectory);
  state.counters["cpu_ns_per_byte"] = bytes ? static_cast<double>(cpuNs) / bytes : 0;
  state.counters["reads_per_reply"] = static_cast<double>(reads) / state.iterations();
  state.counters["reply_bytes"] = static_cast<double>(reply.size());
  state.counters["failures"] = static_cast<double>(failures);
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_FixedReplyOverPseudoTerminal)->Unit(benchmark::kMillisecond)->Iterations(20);

// "Marca, Modelo e Tipo" (35 60) through the virtual printer replying at
// 9600 bit/s, as a printer on a serial line does. The fixed waits of the
// exchange are skipped (they are sleeps); what is left is the line time of
// the reply, the printer's own reaction and the tool's work, which is the
// thread's CPU time inside Execute.
void BM_IdentityPacedThroughTheVirtualPrinter(benchmark::State& state) {
  constexpr int kBaud = 9600;
  constexpr int kFrameBytes = 8, kReplyBytes = 45;
  const std::string link =
      std::filesystem::temp_directory_path() / ("taloven-bench-paced-" + std::to_string(getpid()));
  emulator::testing::EmulatorProcess printer(
      {"--pty", "--link", link, "--baud", std::to_string(kBaud)});
  if (printer.Address().empty()) {
    state.SkipWithError("the virtual printer did not start");
    return;
  }
  AppSettings settings;
  settings.portName = link;
  settings.workingDirectory =
      std::filesystem::temp_directory_path() / ("taloven-bench-" + std::to_string(getpid()));
  testing::ScriptedUi ui;
  DefaultPortFactory ports;
  ExecutionContext context{settings, ui, ports, RealClock()};
  CommandRecord command;
  command.SetTitle("Marca, Modelo e Tipo");
  command.SetEscapeText("35 60");
  command.SetReturnSize(kReplyBytes - 3);

  int64_t cpuNs = 0, failures = 0, reads = 0;
  double wallMs = 0;
  for (auto _ : state) {
    CommandRecord record = command;
    const auto wallStart = std::chrono::steady_clock::now();
    const int64_t start = ThreadCpuNs();
    const int64_t readsBefore = ThreadReadCalls();
    if (Execute(record, context) != kExecuteOk) ++failures;
    reads += ThreadReadCalls() - readsBefore;
    cpuNs += ThreadCpuNs() - start;
    wallMs +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart)
            .count();
  }
  std::filesystem::remove_all(settings.workingDirectory);
  const double n = static_cast<double>(state.iterations());
  const double lineMs = (kFrameBytes + kReplyBytes) * 11 * 1000.0 / kBaud;
  const double replyLineMs = kReplyBytes * 11 * 1000.0 / kBaud;
  state.counters["tool_cpu_ms"] = static_cast<double>(cpuNs) / 1e6 / n;
  state.counters["wall_ms"] = wallMs / n;
  state.counters["wall_beyond_reply_line_ms"] = wallMs / n - replyLineMs;
  state.counters["line_time_ms"] = lineMs;
  state.counters["tool_share_of_line_pct"] = static_cast<double>(cpuNs) / 1e6 / n / lineMs * 100;
  state.counters["reads_per_command"] = static_cast<double>(reads) / n;
  state.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK(BM_IdentityPacedThroughTheVirtualPrinter)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace
}  // namespace taloven
