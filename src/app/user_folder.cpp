#include "app/user_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/encoding.h"
#include "base/program_files.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;

// Paths are the system's UTF-8; messages are in the core's encoding.
std::string Shown(const fs::path& path) {
  return Utf8ToCp1252(path.string());
}

std::string Reason(const std::error_code& error) {
  return Utf8ToCp1252(error.message());
}

// Copies the sample into staging; false with the reason in error.
bool CopySample(const fs::path& sample, const fs::path& staging, std::string& error) {
  std::error_code failure;
  if (!fs::is_regular_file(sample / "comandos.xml", failure)) {
    error = W("os arquivos de exemplo não estão em ") + Shown(sample);
    return false;
  }
  fs::copy_file(sample / "comandos.xml", staging / "comandos.xml", failure);
  for (const char* folder : {"help", "usb"}) {
    if (failure) break;
    if (fs::is_directory(sample / folder, failure))
      fs::copy(sample / folder, staging / folder, fs::copy_options::recursive, failure);
  }
  if (failure) {
    error = W("não foi possível copiar os arquivos de exemplo de ") + Shown(sample) + ": " +
            Reason(failure);
    return false;
  }
  return true;
}

}  // namespace

std::string UserFolderPath(const std::string& home) {
  return (fs::path(home) / "Taloven").string();
}

bool PrepareUserFolder(const std::string& folder, const std::string& sampleDirectory,
                       std::string& error) {
  const fs::path target(folder);
  std::error_code failure;
  const fs::file_status status = fs::status(target, failure);
  if (fs::is_directory(status)) return true;
  if (fs::exists(status)) {
    error = Shown(target) + W(" existe e não é uma pasta");
    return false;
  }

  // Filled beside the target under a hidden name, then renamed into place.
  std::string pattern =
      (target.parent_path() / ("." + target.filename().string() + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    error = W("não foi possível criar a pasta ") + Shown(target) + ": " +
            Reason(std::error_code(errno, std::generic_category()));
    return false;
  }
  const fs::path staging(pattern);
  bool ready = CopySample(sampleDirectory, staging, error);
  if (ready) {
    fs::rename(staging, target, failure);
    // Another start that made the folder at the same moment has won; use its.
    if (failure && fs::is_directory(target)) failure.clear();
    if (failure) {
      error = W("não foi possível criar a pasta ") + Shown(target) + ": " + Reason(failure);
      ready = false;
    }
  }
  std::error_code ignored;
  fs::remove_all(staging, ignored);
  return ready;
}

bool EnterUserFolder(std::string& error) {
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    error = W("a variável HOME não indica a pasta do usuário");
    return false;
  }
  const std::string folder = UserFolderPath(home);
  if (!PrepareUserFolder(folder, RunningProgramFiles().sampleDirectory, error)) return false;
  std::error_code failure;
  fs::current_path(folder, failure);
  if (failure) {
    error = W("não foi possível entrar na pasta ") + Shown(folder) + ": " + Reason(failure);
    return false;
  }
  return true;
}

}  // namespace taloven
