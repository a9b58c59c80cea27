// The sequence runner's own cost beside command execution, and the time to
// load and save a large sequences file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include "catalogue/catalogue.h"
#include "emulator/emulator_process.h"
#include "link/clock.h"
#include "link/execute.h"
#include "sequences/sequence_runner.h"
#include "sequences/sequences_file.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "support/test_clock.h"
#include "usb/default_port_factory.h"

namespace {

using namespace taloven;

const CommandCatalogue& Sample() {
  static const CommandCatalogue catalogue = [] {
    CommandCatalogue c;
    static_cast<void>(LoadCatalogue(TALOVEN_SOURCE_DIR "/data", c));
    return c;
  }();
  return catalogue;
}

// 100 harmless reads of the printer's information, all answered at once.
CommandSequence InformationSequence() {
  CommandSequence sequence;
  std::vector<const CommandRecord*> reads;
  for (const CommandRecord& record : Sample().Records())
    if (record.escapeText.rfind("35 ", 0) == 0 && record.parameters.empty())
      reads.push_back(&record);
  for (int i = 0; i < 100; ++i)
    sequence.InsertCommand(*reads[static_cast<size_t>(i) % reads.size()]);
  return sequence;
}

// A Ui that neither sleeps nor records: the pauses Execute asks for would
// otherwise be nearly all of the time measured, and are the same with or
// without a runner.
class QuietView : public ProgressView {
 public:
  ProgressEvents Pump() override { return {}; }
};

class QuietWait : public WaitHandle {};

class QuietUi : public testing::ScriptedUi {
 public:
  std::unique_ptr<WaitHandle> ShowWait(const std::string&) override {
    return std::make_unique<QuietWait>();
  }
  std::unique_ptr<ProgressView> CreateProgress(const std::string&, bool) override {
    return std::make_unique<QuietView>();
  }
  void Pause(int) override {}
};

class Printer {
 public:
  Printer() : emulator_({"--pty", "--link", Link(), "--baud", "0"}) {
    settings.portName = Link();
    settings.workingDirectory = directory_.Path().string();
  }
  static std::string Link() { return "/tmp/taloven-bench-seq-" + std::to_string(getpid()); }
  ExecutionContext Context() { return {settings, ui, ports, RealClock()}; }

  AppSettings settings;
  QuietUi ui;
  DefaultPortFactory ports;

 private:
  testing::TempDirectory directory_;
  emulator::testing::EmulatorProcess emulator_;
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Time per command of the whole run, and per command of the same 100
// commands sent by Execute alone. On a shared machine the fastest round of
// each is the one least disturbed, so the runner's share compares those.
void BM_RunSequenceOf100(benchmark::State& state) {
  Printer printer;
  const CommandSequence sequence = InformationSequence();
  double fastestRun = 1e9, fastestExecute = 1e9;
  bool runFirst = true;
  for (auto _ : state) {
    ExecutionContext context = printer.Context();
    double run = 0;
    // Alternating the order keeps a drift of the line out of the difference.
    for (int turn = 0; turn < 2; ++turn) {
      CommandSequence copy = sequence;
      const auto start = std::chrono::steady_clock::now();
      if ((turn == 0) == runFirst) {
        if (RunSequence(copy, context) != 0) state.SkipWithError("the run failed");
        run = Seconds(start);
        fastestRun = std::min(fastestRun, run);
      } else {
        for (CommandRecord& command : copy.commands) Execute(command, context);
        fastestExecute = std::min(fastestExecute, Seconds(start));
      }
    }
    runFirst = !runFirst;
    state.SetIterationTime(run / 100);
  }
  state.counters["execute_us_per_command"] = fastestExecute / 100 * 1e6;
  state.counters["runner_us_per_command"] = (fastestRun - fastestExecute) / 100 * 1e6;
  state.counters["runner_share_percent"] = (fastestRun - fastestExecute) / fastestExecute * 100;
}
BENCHMARK(BM_RunSequenceOf100)->Iterations(150)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The runner's own work per command, measured where execution costs almost
// nothing: a printer in memory that answers at once. Set against Execute's
// time over the line (above), this is the runner's share.
void BM_RunnerBookkeeping(benchmark::State& state) {
  testing::TempDirectory directory;
  AppSettings settings;
  settings.workingDirectory = directory.Path().string();
  testing::TestClock clock;
  QuietUi ui;
  testing::ScriptedLine line;
  line.onWrite = [](testing::ScriptedLine& l, const std::vector<uint8_t>&) {
    l.Answer({0x06, 0x00, 0x00});
  };
  testing::ScriptedPortFactory ports(line);
  CommandSequence sequence;
  CommandRecord command;
  command.SetTitle("Cancela cupom fiscal");
  command.SetEscapeText("14");
  for (int i = 0; i < 100; ++i) sequence.InsertCommand(command);
  ExecutionContext context{settings, ui, ports, clock};
  double fastestRun = 1e9, fastestExecute = 1e9;
  for (auto _ : state) {
    CommandSequence copy = sequence;
    auto start = std::chrono::steady_clock::now();
    RunSequence(copy, context);
    fastestRun = std::min(fastestRun, Seconds(start));
    copy = sequence;
    start = std::chrono::steady_clock::now();
    for (CommandRecord& c : copy.commands) Execute(c, context);
    fastestExecute = std::min(fastestExecute, Seconds(start));
  }
  state.counters["in_memory_execute_us_per_command"] = fastestExecute / 100 * 1e6;
  state.counters["runner_us_per_command"] = (fastestRun - fastestExecute) / 100 * 1e6;
}
BENCHMARK(BM_RunnerBookkeeping)->Iterations(200)->Unit(benchmark::kMillisecond);

SavedSequences LargeList() {
  SavedSequences list;
  const auto& records = Sample().Records();
  for (int s = 0; s < 1000; ++s) {
    CommandSequence sequence;
    sequence.name = "SEQUENCIA " + std::to_string(s);
    sequence.name.resize(20, ' ');
    for (int c = 0; c < 20; ++c)
      sequence.InsertCommand(records[static_cast<size_t>(s * 20 + c) % records.size()]);
    list.Append(sequence);
  }
  return list;
}

void BM_SaveSequences1000x20(benchmark::State& state) {
  testing::TempDirectory directory;
  const std::string path = SequencesFilePath(directory.Path().string());
  const SavedSequences list = LargeList();
  for (auto _ : state) {
    if (!SaveSequences(list, path).ok()) state.SkipWithError("not saved");
  }
}
BENCHMARK(BM_SaveSequences1000x20)->Unit(benchmark::kMillisecond);

void BM_LoadSequences1000x20(benchmark::State& state) {
  testing::TempDirectory directory;
  const std::string path = SequencesFilePath(directory.Path().string());
  if (!SaveSequences(LargeList(), path).ok()) {
    state.SkipWithError("not saved");
    return;
  }
  for (auto _ : state) {
    auto list = std::make_unique<SavedSequences>();
    static_cast<void>(LoadSequences(path, *list));
    if (list->Count() != 1000) state.SkipWithError("not loaded");
    // Freeing twenty thousand records is the window's closing, not loading.
    state.PauseTiming();
    list.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadSequences1000x20)->Unit(benchmark::kMillisecond);

}  // namespace
