#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>

#include "emulator/emulator_process.h"
#include "link/execute.h"
#include "link/kept_connections.h"
#include "support/scripted_ui.h"
#include "support/ser2net_process.h"
#include "support/test_clock.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

enum class Way { PseudoTerminal, Raw, Telnet };

// "Marca, Modelo e Tipo" to the virtual printer replying at once, straight
// on its pseudo-terminal or through a local ser2net, raw or with RFC 2217.
// The exchange's fixed waits are skipped (the scripted Ui does not sleep),
// so the time left is the tool's own, the connection's and the server's;
// the median is what a user meets.
void BM_IdentityExchange(benchmark::State& state, Way way, bool keep) {
  const std::string folder =
      std::filesystem::temp_directory_path() / ("taloven-bench-net-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  emulator::testing::EmulatorProcess printer({"--pty"});
  std::optional<testing::Ser2netProcess> server;
  if (way != Way::PseudoTerminal) {
    if (testing::Ser2netPath().empty()) {
      state.SkipWithError("ser2net is not installed");
      return;
    }
    server.emplace(printer.Address(), way == Way::Telnet, folder);
  }
  AppSettings settings;
  settings.portName = way == Way::PseudoTerminal ? printer.Address()
                      : way == Way::Raw          ? server->Url("tcp")
                                                 : server->Url("rfc2217");
  settings.workingDirectory = folder;
  testing::ScriptedUi ui;
  DefaultPortFactory made;
  // Kept: the loop keeps its connection, as a sequence run does; else each
  // exchange connects anew, as a single command does.
  KeptConnections kept(made);
  PortFactory& ports = keep ? static_cast<PortFactory&>(kept) : made;
  testing::TestClock clock;
  ExecutionContext context{settings, ui, ports, clock};
  CommandRecord command;
  command.SetTitle("Marca, Modelo e Tipo");
  command.SetEscapeText("35 60");
  command.SetReturnSize(42);

  std::vector<double> ms;
  int failures = 0;
  for (auto _ : state) {
    CommandRecord record = command;
    const auto start = std::chrono::steady_clock::now();
    if (Execute(record, context) != kExecuteOk) ++failures;
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  std::filesystem::remove_all(folder);
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms.empty() ? 0 : ms[ms.size() / 2];
  state.counters["failures"] = failures;
}
BENCHMARK_CAPTURE(BM_IdentityExchange, pty, Way::PseudoTerminal, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK_CAPTURE(BM_IdentityExchange, tcp, Way::Raw, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK_CAPTURE(BM_IdentityExchange, tcp_kept, Way::Raw, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK_CAPTURE(BM_IdentityExchange, rfc2217, Way::Telnet, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK_CAPTURE(BM_IdentityExchange, rfc2217_kept, Way::Telnet, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);

}  // namespace
}  // namespace taloven
