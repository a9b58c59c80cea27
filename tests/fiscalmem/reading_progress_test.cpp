// Reports, databases and fiscal-memory readings tell the library's progress
// callback how far through their input they are, often enough for a Cancel
// to be heard at once, and stop when it says so.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "fiscalmem/fiscal_memory_library.h"
#include "fiscalmem/system_dir_override.h"
#include "kovo_mfd.h"
#include "support/large_inputs.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDirectory;
using Clock = std::chrono::steady_clock;

constexpr const char* kEarlier = "an earlier output, to be kept";

// What the callback was told, and when it stops the work: after that many
// calls, or once past half the input.
struct Told {
  std::vector<std::pair<long long, long long>> figures;
  Clock::time_point last;
  Clock::duration longestSilence{};
  int stopAtCall = -1;
  bool stopPastHalf = false;
} told;

int Listen(long long done, long long total) {
  const Clock::time_point now = Clock::now();
  if (!told.figures.empty()) told.longestSilence = std::max(told.longestSilence, now - told.last);
  told.last = now;
  told.figures.emplace_back(done, total);
  const bool stop = static_cast<int>(told.figures.size()) == told.stopAtCall ||
                    (told.stopPastHalf && done > total / 2);
  return stop ? 1 : 0;
}

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

TEST(ReadingProgress, TheInputIsToldAsItGoesAndAStopEndsTheWorkWithNothingWritten) {
  TempDirectory dir;
  const auto Path = [&](const char* name) { return (dir.Path() / name).string(); };
  // Large enough that each work tells the callback several times.
  testing::WriteLargeMemories(Path("j.mfd"), Path("m.mf"), size_t{48} << 20);
  testing::SystemDirOverride system(TALOVEN_LIBRARY_DIR);
  FiscalMemoryLibrary library(MemoryLibrary::kFirst);
  ASSERT_TRUE(library.IsLoaded()) << library.Error();
  auto setProgress = library.Find<KovoSetProgressFunction>("KovoSetProgress");
  auto report = library.Find<KovoGeraTxtTotalFunction>("KovoGeraTxtTotal");
  auto database = library.Find<KovoGeraMdbTotalFunction>("KovoGeraMdbTotal");
  auto reading = library.Find<KovoRelatorioMFTxtFunction>("KovoRelatorioMFTxt");
  ASSERT_TRUE(setProgress && report && database && reading);

  const struct {
    const char* name;
    std::string input, output;
    std::function<int()> work;
  } works[] = {
      {"text report", Path("j.mfd"), Path("r.txt"),
       [&] { return report(Path("j.mfd").c_str(), Path("r.txt").c_str()); }},
      {"database", Path("j.mfd"), Path("j.db"),
       [&] { return database(Path("j.mfd").c_str(), Path("j.db").c_str()); }},
      {"fiscal-memory reading", Path("m.mf"), Path("m.txt"),
       [&] { return reading(Path("m.mf").c_str(), Path("m.txt").c_str(), "c", "1", "3"); }},
  };
  const struct {
    const char* name;
    int stopAtCall;
    bool stopPastHalf;
    int result;
  } stops[] = {
      {"never stopped", -1, false, KOVO_OK},
      {"stopped at once", 1, false, KOVO_NOT_EXECUTED},
      {"stopped past half", -1, true, KOVO_NOT_EXECUTED},
  };
  setProgress(Listen);
  for (const auto& w : works) {
    const long long size = static_cast<long long>(fs::file_size(w.input));
    for (const auto& s : stops) {
      const std::string name = std::string(w.name) + ", " + s.name;
      std::ofstream(w.output) << kEarlier;
      const std::set<std::string> before = Names(dir.Path());
      told = {};
      told.stopAtCall = s.stopAtCall;
      told.stopPastHalf = s.stopPastHalf;
      EXPECT_EQ(w.work(), s.result) << name;
      ASSERT_FALSE(told.figures.empty()) << name;
      long long done = 0;
      for (const auto& [figure, total] : told.figures) {
        EXPECT_EQ(total, size) << name;
        EXPECT_GE(figure, done) << name << ": went back";
        done = figure;
      }
      // A Cancel waits no longer than this for the library to look.
      EXPECT_LT(told.longestSilence, std::chrono::milliseconds(500)) << name;
      if (s.result == KOVO_OK) {
        EXPECT_EQ(told.figures.back().first, size) << name << ": ends at the whole";
        EXPECT_NE(ReadFileBytes(w.output), kEarlier) << name;
        continue;
      }
      if (s.stopPastHalf) {
        EXPECT_LT(told.figures.back().first, size) << name << ": mid-work";
      }
      EXPECT_EQ(ReadFileBytes(w.output), kEarlier) << name;
      EXPECT_EQ(Names(dir.Path()), before) << name << ": a temporary file was left";
    }
  }
  setProgress(nullptr);
}

}  // namespace
}  // namespace taloven
