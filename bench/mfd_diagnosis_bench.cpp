#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "base/encoding.h"
#include "fiscalmem/mfd_diagnosis.h"
#include "fiscalmem/mfd_diagnosis_run.h"
#include "link/progress_window.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"

// The diagnosis of a 100 MB journal report beside `grep -c COO:` on the same
// file, so that the two speeds are read from one run on one machine. Both are
// timed by the wall clock: grep's work is done in another process.

namespace taloven {
namespace {

constexpr size_t kReportBytes = 100u << 20;

// One sale as the journal report prints it: 48 columns, a header with the
// maker's serial number, the COO line, items and totals; a Z reduction at
// the end of every day.
std::string Sale(int coo, int day) {
  char text[2048];
  std::snprintf(text, sizeof text,
                "------------------------------------------------\r\n"
                "MERCADO BOA VISTA LTDA\r\n"
                "RUA DAS PALMEIRAS, 120 - CENTRO\r\n"
                "CNPJ:12.345.678/0001-90  IE:123.456.789.110\r\n"
                "%02d/03/2026 10:15:22  CCF:%06d    COO:%06d\r\n"
                "                 CUPOM FISCAL\r\n"
                "ITEM C\xD3"
                "DIGO DESCRI\xC7\xC3O QTD UN VL UNIT VL ITEM\r\n"
                "001 7891000100103 ARROZ 5KG 1 UN 22,90 T1 22,90\r\n"
                "002 7891000200200 FEIJAO 1KG 2 UN 8,45 T1 16,90\r\n"
                "003 7891000300307 CAFE 500G 1 UN 14,30 T2 14,30\r\n"
                "TOTAL R$                                  54,10\r\n"
                "Dinheiro                                  60,00\r\n"
                "TROCO R$                                   5,90\r\n"
                "KV ECF-IF VERS\xC3O:01.00.03 ECF:001 LJ:0001\r\n"
                "QQQQQQQQQQQQQ %02d/03/2026 10:15:22\r\n"
                "  FAB:KV0412000000000123      %02d/03/2026 10:15:22\r\n",
                day, coo, coo, day, day);
  return text;
}

std::string ZReduction(int coo, int day) {
  char text[512];
  std::snprintf(text, sizeof text,
                "------------------------------------------------\r\n"
                "%02d/03/2026 22:00:00               COO:%06d\r\n"
                "       REDU\xC7\xC3O Z        \r\n"
                "MOVIMENTO DO DIA: %02d/03/2026\r\n"
                "CONTADOR DE REDU\xC7\xC3O Z:                 %04d\r\n",
                day, coo, day, day);
  return text;
}

class ReportFile {
 public:
  ReportFile() : path_((dir_.Path() / "report.txt").string()) {
    std::string report;
    report.reserve(kReportBytes + 4096);
    int coo = 1;
    for (int day = 1; report.size() < kReportBytes; day = day % 28 + 1) {
      for (int sale = 0; sale < 200 && report.size() < kReportBytes; ++sale)
        report += Sale(coo++, day);
      report += ZReduction(coo++, day);
    }
    std::ofstream(path_, std::ios::binary) << report;
    size_ = report.size();
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
