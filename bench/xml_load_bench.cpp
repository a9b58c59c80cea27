// Loading sequencias.xml and comandos.xml set beside xmllint --stream --noout
// reading the same files: the XML reader's own floor for a streamed parse.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>

#include "catalogue/catalogue.h"
#include "large_catalogue.h"
#include "sequences/sequences_file.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

struct ChildCost {
  double cpuMs = 0;
  double peakMiB = 0;
};

ChildCost Waited(pid_t child) {
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return {ms(usage.ru_utime) + ms(usage.ru_stime), static_cast<double>(usage.ru_maxrss) / 1024.0};
}

ChildCost InChild(const std::function<void()>& work) {
  const pid_t child = fork();
  if (child == 0) {
    work();
    _exit(0);
  }
  return Waited(child);
}

ChildCost Xmllint(const std::string& path) {
  const pid_t child = fork();
  if (child == 0) {
    execlp("xmllint", "xmllint", "--stream", "--noout", path.c_str(), nullptr);
    _exit(127);
  }
  return Waited(child);
}

// The fastest of a few rounds is the one the shared machine disturbed least;
// the peak is the same in each.
ChildCost Best(const std::function<ChildCost()>& run) {
  ChildCost best{1e12, 0};
  for (int round = 0; round < 7; ++round) {
    const ChildCost cost = run();
    best.cpuMs = std::min(best.cpuMs, cost.cpuMs);
    best.peakMiB = std::max(best.peakMiB, cost.peakMiB);
  }
  return best;
}

// Both sides pay a process's start and end; each is measured on its own
// floor (an idle child, xmllint on a one-element file) and that is taken off.
void SideBySide(benchmark::State& state, const std::string& path, size_t bytes,
                const std::function<void()>& load, const std::string& tinyPath) {
  malloc_trim(0);
  const ChildCost idle = Best([] { return InChild([] {}); });
  const ChildCost ours = Best([&] { return InChild(load); });
  const ChildCost lintFloor = Best([&] { return Xmllint(tinyPath); });
  const ChildCost lint = Best([&] { return Xmllint(path); });
  const double oursMs = ours.cpuMs - idle.cpuMs, lintMs = lint.cpuMs - lintFloor.cpuMs;
  const double fileMiB = static_cast<double>(bytes) / (1024.0 * 1024.0);
  state.counters["file_MiB"] = fileMiB;
  state.counters["load_cpu_ms"] = oursMs;
  state.counters["xmllint_cpu_ms"] = lintMs;
  state.counters["cpu_vs_xmllint"] = oursMs / lintMs;
  state.counters["load_peak_added_MiB"] = ours.peakMiB - idle.peakMiB;
  state.counters["xmllint_peak_added_MiB"] = lint.peakMiB - lintFloor.peakMiB;
  state.counters["peak_vs_file"] = (ours.peakMiB - idle.peakMiB) / fileMiB;
}

std::string TinyFile(const testing::TempDirectory& directory) {
  const std::string path = (directory.Path() / "tiny.xml").string();
  std::ofstream(path) << "<a/>\n";
  return path;
}

SavedSequences LargeSequences(int sequences, int commands) {
  CommandCatalogue catalogue;
  static_cast<void>(LoadCatalogue(TALOVEN_SOURCE_DIR "/data", catalogue));
  SavedSequences list;
  for (int s = 0; s < sequences; ++s) {
    CommandSequence sequence;
    sequence.name = "SEQUENCIA " + std::to_string(s);
    sequence.name.resize(20, ' ');
    for (int c = 0; c < commands; ++c) {
      CommandRecord record = catalogue.At((s * commands + c) % catalogue.Count());
      for (CommandParameter& parameter : record.parameters) parameter.value = "12345";
      sequence.InsertCommand(std::move(record));
    }
    list.Append(std::move(sequence));
  }
  return list;
}

void BM_SequencesBesideXmllint(benchmark::State& state) {
  const testing::TempDirectory directory;
  const std::string path = SequencesFilePath(directory.Path().string());
  if (!SaveSequences(LargeSequences(1000, 20), path).ok()) {
    state.SkipWithError("the sequences file was not written");
    return;
  }
  const auto load = [&path] {
    SavedSequences list;
    static_cast<void>(LoadSequences(path, list));
    benchmark::DoNotOptimize(list.Count());
  };
  for (auto _ : state) {
    SavedSequences list;
    if (!LoadSequences(path, list).ok() || list.Count() != 1000)
      state.SkipWithError("the sequences did not load");
  }
  SideBySide(state, path, testing::ReadFileBytes(path).size(), load, TinyFile(directory));
}
BENCHMARK(BM_SequencesBesideXmllint)->Unit(benchmark::kMillisecond);

void BM_CatalogueBesideXmllint(benchmark::State& state) {
  const bench::LargeCatalogue file(10000);
  const std::string path = file.Directory() + "/comandos.xml";
  const auto load = [&file] {
    CommandCatalogue catalogue;
    static_cast<void>(LoadCatalogue(file.Directory(), catalogue));
    benchmark::DoNotOptimize(catalogue.Count());
  };
  for (auto _ : state) {
    CommandCatalogue catalogue;
    if (!LoadCatalogue(file.Directory(), catalogue).ok() || catalogue.Count() != 10000)
      state.SkipWithError("the catalogue did not load");
  }
  const testing::TempDirectory directory;
  SideBySide(state, path, file.Bytes(), load, TinyFile(directory));
}
BENCHMARK(BM_CatalogueBesideXmllint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace taloven
