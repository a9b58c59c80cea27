#include "fuzz_files.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace taloven::fuzz {
namespace {

namespace fs = std::filesystem;

// The atomic writer syncs every file it replaces: on a memory file system
// that costs nothing, on a disk it would bound the runs per second.
fs::path ScratchRoot() {
  std::error_code error;
  const char* chosen = std::getenv("TMPDIR");
  if (chosen == nullptr && fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0)
    chosen = "/dev/shm";
  return chosen != nullptr ? fs::path(chosen) : fs::temp_directory_path();
}

void RemoveScratch();

const fs::path& ScratchDirectory() {
  static const fs::path directory = [] {
    std::string pattern = (ScratchRoot() / "taloven-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("taloven-fuzz: no scratch directory");
      std::abort();
    }
    std::atexit(RemoveScratch);
    return fs::path(pattern);
  }();
  return directory;
}

void RemoveScratch() {
  std::error_code ignored;
  fs::remove_all(ScratchDirectory(), ignored);
}

}  // namespace

std::string ScratchPath(const std::string& name) {
  return (ScratchDirectory() / name).string();
}

std::string WriteScratch(const std::string& name, std::string_view bytes) {
  const std::string path = ScratchPath(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Require(static_cast<bool>(out), "the scratch file was written");
  return path;
}

std::string ReadScratch(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

}  // namespace taloven::fuzz
