#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "large_catalogue.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;

// The peak resident size, in MiB, of a child that runs work and exits: the
// parent's own pages are shared with it, so an idle child gives the floor.
double ChildPeakMiB(const std::function<void()>& work) {
  const pid_t child = fork();
  if (child == 0) {
    work();
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_LoadCatalogue(benchmark::State& state) {
  const bench::LargeCatalogue file(static_cast<int>(state.range(0)));
  // Measured first, with the memory of earlier runs given back, so that the
  // child starts from the program's own floor.
  malloc_trim(0);
  const double idle = ChildPeakMiB([] {});
  const double loaded = ChildPeakMiB([&] {
    CommandCatalogue catalogue;
    static_cast<void>(LoadCatalogue(file.Directory(), catalogue));
  });
  for (auto _ : state) {
    CommandCatalogue catalogue;
    static_cast<void>(LoadCatalogue(file.Directory(), catalogue));
    if (catalogue.Count() != state.range(0)) state.SkipWithError("the catalogue did not load");
    benchmark::DoNotOptimize(catalogue.Records().data());
  }
  state.counters["file_MB"] = static_cast<double>(file.Bytes()) / 1e6;
  state.counters["peak_rss_MiB"] = loaded;
  state.counters["peak_added_MiB"] = loaded - idle;
}
BENCHMARK(BM_LoadCatalogue)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace taloven
