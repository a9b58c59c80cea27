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
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;

// A working directory whose comandos.xml holds count commands, the sample
// catalogue's commands over and over: a catalogue as large as a maker's
// full command set and far beyond.
class LargeCatalogue {
 public:
  explicit LargeCatalogue(int count) {
    const std::string sample = testing::ReadFileBytes(TALOVEN_SOURCE_DIR "/data/comandos.xml");
    std::vector<std::string> commands;
    for (size_t at = sample.find("<cmd>"); at != std::string::npos;
         at = sample.find("<cmd>", at + 1)) {
      const size_t end = sample.find("</cmd>", at) + 6;
      commands.push_back(sample.substr(at, end - at));
    }
    const size_t body = sample.find("<cmd>");
    std::string text = sample.substr(0, body);
    for (int i = 0; i < count; ++i)
      text += commands[static_cast<size_t>(i) % commands.size()] + "\n  ";
    text += "\n</comandos>\n";
    std::ofstream(directory_.Path() / "comandos.xml", std::ios::binary) << text;
    bytes_ = text.size();
  }
  std::string Directory() const { return directory_.Path().string(); }
  size_t Bytes() const { return bytes_; }

 private:
  testing::TempDirectory directory_;
  size_t bytes_ = 0;
};

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
  const LargeCatalogue file(static_cast<int>(state.range(0)));
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
