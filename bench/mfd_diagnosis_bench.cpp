#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fiscalmem/mfd_diagnosis.h"
#include "fiscalmem/mfd_diagnosis_run.h"
#include "link/progress_window.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "virtual_journal.h"

// The diagnosis of the report of a 100 MB journal of the virtual printer
// beside `grep -c COO:` on the same file, so that the two speeds are read
// from one run on one machine. Both are timed by the wall clock (grep's work
// is done in another process); grep's processor time is its counter.

namespace taloven {
namespace {

constexpr size_t kJournalBytes = 100u << 20;

// The report of a 100 MB journal of the virtual printer, made by the
// fiscal-memory library as the user makes it.
class ReportFile {
 public:
  ReportFile() : path_((dir_.Path() / "report.txt").string()) {
    const std::string journal = (dir_.Path() / "journal.mfd").string();
    bench::WriteVirtualMemories(kJournalBytes, journal);
    if (bench::RunChild(bench::Cli(dir_.Path().string(), {"mfd", "report", journal, path_}))
            .status != 0)
      std::abort();
    size_ = std::filesystem::file_size(path_);
  }
  const std::string& Path() const { return path_; }
  const std::filesystem::path& Directory() const { return dir_.Path(); }
  size_t Size() const { return size_; }

 private:
  testing::TempDirectory dir_;
  std::string path_;
  size_t size_ = 0;
};

const ReportFile& Report() {
  static const ReportFile report;
  return report;
}

// The reading and diagnosis of the report, polling a progress window.
void BM_ScanReport100MB(benchmark::State& state) {
  const ReportFile& report = Report();
  for (auto _ : state) {
    testing::ScriptedUi ui;
    ProgressWindow progress(ui);
    progress.Create("Progresso", false);
    ReportLineReader reader(report.Path());
    MfdDiagnosis diagnosis(0x0400);
    if (ScanReport(reader, diagnosis, progress, 4096) != ReportLineReader::Status::End ||
        diagnosis.ErrorsFound())
      state.SkipWithError("unexpected end or findings");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * report.Size()));
}
BENCHMARK(BM_ScanReport100MB)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The whole run, with the findings file written safely (synced to the disk).
void BM_DiagnoseReport100MB(benchmark::State& state) {
  const ReportFile& report = Report();
  AppSettings settings;
  settings.workingDirectory = report.Directory().string();
  settings.modelMask = 0x0400;
  for (auto _ : state) {
    testing::ScriptedUi ui;
    const DiagnosisOutcome outcome = DiagnoseReport(ui, settings, report.Path());
    if (!outcome.written || outcome.errorsFound) state.SkipWithError("unexpected findings");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * report.Size()));
}
BENCHMARK(BM_DiagnoseReport100MB)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_GrepCountCoo100MB(benchmark::State& state) {
  const ReportFile& report = Report();
  // Not into /dev/null: grep would stop at the first match.
  const std::string command = "LC_ALL=C grep -c COO: '" + report.Path() + "' > '" +
                              (report.Directory() / "count.txt").string() + "'";
  // grep's own processor time, comparable with the CPU column of the others
  // whatever else the machine is doing.
  rusage before{}, after{};
  ::getrusage(RUSAGE_CHILDREN, &before);
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("grep failed");
  ::getrusage(RUSAGE_CHILDREN, &after);
  auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  state.counters["grep_cpu_ms"] =
      (ms(after.ru_utime) + ms(after.ru_stime) - ms(before.ru_utime) - ms(before.ru_stime)) /
      static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * report.Size()));
}
BENCHMARK(BM_GrepCountCoo100MB)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace
}  // namespace taloven
