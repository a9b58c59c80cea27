// Figures for the tools that read files from the field, each beside a
// reference run on the same input in the same run: processor time (user and
// system) and peak resident memory of each program, run alone as a user
// runs it. Build in Release; run with no argument.
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fiscalmem/fiscal_memory_library.h"
#include "kovo_mfd.h"
#include "support/temp_directory.h"
#include "virtual_journal.h"

namespace taloven::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 3;  // the least processor time of these is kept

ChildRun Best(const std::vector<std::string>& command, const std::string& out = "/dev/null") {
  ChildRun best;
  for (int i = 0; i < kRuns; ++i) {
    const ChildRun run = RunChild(command, out);
    if (run.status != 0 && run.status != 10) {
      std::fprintf(stderr, "%s ended with %d\n", command[0].c_str(), run.status);
      std::exit(1);
    }
    if (i == 0 || run.cpuSeconds < best.cpuSeconds) best = run;
  }
  return best;
}

void Row(const char* what, double megabytes, const ChildRun& ours, const char* reference,
         const ChildRun& theirs, const char* goal) {
  const double oursSpeed = megabytes / std::max(ours.cpuSeconds, 1e-6);
  const double theirSpeed = megabytes / std::max(theirs.cpuSeconds, 1e-6);
  std::printf(
      "%-34s %8.1f MB %7.3f s %8.1f MB/s %7.1f MiB | %-24s %7.3f s %8.1f MB/s | %5.2f | %s\n", what,
      megabytes, ours.cpuSeconds, oursSpeed, ours.peakMiB, reference, theirs.cpuSeconds, theirSpeed,
      oursSpeed / theirSpeed, goal);
}

double ProcessorSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Megabytes(const std::string& path) {
  return static_cast<double>(fs::file_size(path)) / 1e6;
}

// The input size of a sparse file is its length: every byte is read.
std::string Sparse(const std::string& from, size_t keep, uintmax_t size, const std::string& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  fs::resize_file(to, keep);
  fs::resize_file(to, size);
  return to;
}

// The rows of a journal database in the order the library inserted them,
// for the reference program.
void WriteRows(const std::string& database, const std::string& rowsPath) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  FILE* out = std::fopen(rowsPath.c_str(), "wb");
  auto row = [&](char table, sqlite3_stmt* statement) {
    std::fputc(table, out);
    for (int c = 0; c < sqlite3_column_count(statement); ++c) {
      const int type = sqlite3_column_type(statement, c);
      if (type == SQLITE_NULL) {
        std::fputc(0, out);
      } else if (type == SQLITE_INTEGER) {
        std::fputc(1, out);
        const int64_t value = sqlite3_column_int64(statement, c);
        std::fwrite(&value, sizeof value, 1, out);
      } else {
        std::fputc(2, out);
        const uint32_t length = static_cast<uint32_t>(sqlite3_column_bytes(statement, c));
        std::fwrite(&length, sizeof length, 1, out);
        std::fwrite(sqlite3_column_text(statement, c), 1, length, out);
      }
    }
  };
  sqlite3_stmt *documents = nullptr, *lines = nullptr, *reductions = nullptr, *damage = nullptr;
  sqlite3_prepare_v2(db, "SELECT * FROM documentos ORDER BY id", -1, &documents, nullptr);
  sqlite3_prepare_v2(db, "SELECT * FROM linhas WHERE documento = ? ORDER BY numero", -1, &lines,
                     nullptr);
  sqlite3_prepare_v2(db, "SELECT * FROM reducoes WHERE documento = ?", -1, &reductions, nullptr);
  sqlite3_prepare_v2(db, "SELECT * FROM danos_ignorados", -1, &damage, nullptr);
  while (sqlite3_step(documents) == SQLITE_ROW) {
    row('d', documents);
    for (sqlite3_stmt* part : {lines, reductions}) {
      sqlite3_bind_int64(part, 1, sqlite3_column_int64(documents, 0));
      while (sqlite3_step(part) == SQLITE_ROW) row(part == lines ? 'l' : 'r', part);
      sqlite3_reset(part);
    }
  }
  while (sqlite3_step(damage) == SQLITE_ROW) row('x', damage);
  for (sqlite3_stmt* s : {documents, lines, reductions, damage}) sqlite3_finalize(s);
  sqlite3_close(db);
  std::fclose(out);
}

// A child's peak memory counts what it held before it started the program
// measured, a copy of this process: the journals are made in a child of
// their own, so that this one stays small.
void MakeJournals(const std::string& d) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    WriteVirtualMemories(10u << 20, d + "j10.mfd");
    WriteVirtualMemories(100u << 20, d + "j100.mfd", d + "m100.mf");
    _exit(0);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || status != 0) std::exit(1);
}

// The library's report alone, in this process: its processor time without
// the program's start.
double LibraryReportSeconds(const std::string& mfd, const std::string& out) {
  FiscalMemoryLibrary library(ModelMask{0x0400});
  const auto report = library.Find<KovoGeraTxtTotalFunction>("KovoGeraTxtTotal");
  if (!report) std::exit(1);
  double best = 0;
  for (int i = 0; i < kRuns; ++i) {
    const double before = ProcessorSeconds();
    if (report(mfd.c_str(), out.c_str()) != KOVO_OK) std::exit(1);
    const double spent = ProcessorSeconds() - before;
    if (i == 0 || spent < best) best = spent;
  }
  return best;
}

int Main() {
  testing::TempDirectory work;
  const std::string d = work.Path().string() + "/";
  std::printf("Making the virtual printer's journals...\n");
  MakeJournals(d);
  const std::string sparseMfd = Sparse(d + "j10.mfd", fs::file_size(d + "j10.mfd") - 256,
                                       uintmax_t{2} << 30, d + "sparse.mfd");
  const std::string sparseMf =
      Sparse(d + "m100.mf", fs::file_size(d + "m100.mf"), uintmax_t{2} << 30, d + "sparse.mf");

  std::printf("\n%-34s %11s %9s %13s %11s | %-24s %9s %13s | %5s | %s\n", "ours", "input", "CPU",
              "speed", "peak", "reference", "CPU", "speed", "ratio", "goal");
  const ChildRun copy10 = Best({"cp", d + "j10.mfd", d + "copy"});
  Row("mfd report, 10 MB journal", Megabytes(d + "j10.mfd"),
      Best(Cli(d, {"mfd", "report", d + "j10.mfd", d + "r10.txt"})), "cp of the input", copy10,
      ">= 300 MB/s, <= 64 MiB");
  const ChildRun copy100 = Best({"cp", d + "j100.mfd", d + "copy"});
  Row("mfd report, 100 MB journal", Megabytes(d + "j100.mfd"),
      Best(Cli(d, {"mfd", "report", d + "j100.mfd", d + "r100.txt"})), "cp of the input", copy100,
      ">= 300 MB/s, <= 64 MiB");
  fs::remove(d + "copy");
  Row("mfd report, 2 GB sparse .mfd", 2147.48,
      Best(Cli(d, {"mfd", "report", sparseMfd, d + "sparse.txt"})), "cat of the input",
      Best({"cat", sparseMfd}), "<= 64 MiB");
  Row("mfd mf-report, 2 GB sparse .mf", 2147.48,
      Best(Cli(d, {"mfd", "mf-report", sparseMf, d + "m.txt", "--crz", "1", "999999"})),
      "cat of the input", Best({"cat", sparseMf}), "<= 64 MiB");

  const ChildRun database = Best(Cli(d, {"mfd", "db", d + "j100.mfd", d + "j100.db"}));
  WriteRows(d + "j100.db", d + "rows.bin");
  Row("mfd db, 100 MB journal", Megabytes(d + "j100.mfd"), database, "C inserts, same rows",
      Best({TALOVEN_DB_REFERENCE, d + "rows.bin", d + "reference.db"}), "ratio >= 0.95, <= 64 MiB");

  Row("mfd diagnose, its 100 MB report", Megabytes(d + "r100.txt"),
      Best(Cli(d, {"mfd", "diagnose", d + "r100.txt"})), "grep -c COO:",
      Best({"env", "LC_ALL=C", "grep", "-c", "COO:", d + "r100.txt"}, d + "count.txt"),
      "ratio >= 0.8, <= 64 MiB");

  std::printf(
      "\nThe library's report alone (KovoGeraTxtTotal in this process, no program start):\n");
  for (const char* journal : {"j10.mfd", "j100.mfd"}) {
    const double seconds = LibraryReportSeconds(d + journal, d + "library.txt");
    std::printf("%-34s %8.1f MB %7.3f s %8.1f MB/s | goal >= 300 MB/s\n", journal,
                Megabytes(d + journal), seconds, Megabytes(d + journal) / seconds);
  }
  return 0;
}

}  // namespace
}  // namespace taloven::bench

int main() {
  return taloven::bench::Main();
}
