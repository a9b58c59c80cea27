#include "base/program_files.h"

#include <filesystem>
#include <system_error>

namespace taloven {
namespace {

namespace fs = std::filesystem;

bool SameDirectory(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::equivalent(a, b, error) && !error;
}

std::string Beside(const fs::path& programDirectory, const char* relative) {
  return (programDirectory / relative).lexically_normal().string();
}

}  // namespace

ProgramFiles ProgramFilesFor(const std::string& programDirectory) {
  if (programDirectory.empty() || SameDirectory(programDirectory, TALOVEN_BUILD_PROGRAM_DIR))
    return {TALOVEN_BUILD_LIBRARY_DIR, TALOVEN_BUILD_SAMPLE_DIR};
  return {Beside(programDirectory, TALOVEN_INSTALLED_LIBRARY_DIR),
          Beside(programDirectory, TALOVEN_INSTALLED_SAMPLE_DIR)};
}

std::string RunningProgramDirectory() {
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return executable.parent_path().string();
}

ProgramFiles RunningProgramFiles() {
  return ProgramFilesFor(RunningProgramDirectory());
}

}  // namespace taloven
