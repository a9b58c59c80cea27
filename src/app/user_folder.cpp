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

Status Failure(const std::string& message, const std::error_code& error) {
  return Status::Failure(message + ": " + Reason(error), error.value());
}

// Copies the sample into staging.
Status CopySample(const fs::path& sample, const fs::path& staging) {
  std::error_code failure;
  if (!fs::is_regular_file(sample / "comandos.xml", failure))
    return Status::Failure(W("os arquivos de exemplo não estão em ") + Shown(sample));
  fs::copy_file(sample / "comandos.xml", staging / "comandos.xml", failure);
  for (const char* folder : {"help", "usb"}) {
    if (failure) break;
    if (fs::is_directory(sample / folder, failure))
      fs::copy(sample / folder, staging / folder, fs::copy_options::recursive, failure);
  }
  if (failure)
    return Failure(W("não foi possível copiar os arquivos de exemplo de ") + Shown(sample),
                   failure);
  return {};
}

}  // namespace

std::string UserFolderPath(const std::string& home) {
  return (fs::path(home) / "Taloven").string();
}

Status PrepareUserFolder(const std::string& folder, const std::string& sampleDirectory) {
  const fs::path target(folder);
  std::error_code failure;
  const fs::file_status status = fs::status(target, failure);
  if (fs::is_directory(status)) return {};
  if (fs::exists(status)) return Status::Failure(Shown(target) + W(" existe e não é uma pasta"));

  // Filled beside the target under a hidden name, then renamed into place.
  std::string pattern =
      (target.parent_path() / ("." + target.filename().string() + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr)
    return Failure(W("não foi possível criar a pasta ") + Shown(target),
                   std::error_code(errno, std::generic_category()));
  const fs::path staging(pattern);
  Status ready = CopySample(sampleDirectory, staging);
  if (ready.ok()) {
    fs::rename(staging, target, failure);
    // Another start that made the folder at the same moment has won; use its.
    if (failure && fs::is_directory(target)) failure.clear();
    if (failure) ready = Failure(W("não foi possível criar a pasta ") + Shown(target), failure);
  }
  std::error_code ignored;
  fs::remove_all(staging, ignored);
  return ready;
}

Status EnterUserFolder() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return Status::Failure(W("a variável HOME não indica a pasta do usuário"));
  const std::string folder = UserFolderPath(home);
  if (Status prepared = PrepareUserFolder(folder, RunningProgramFiles().sampleDirectory);
      !prepared.ok())
    return prepared;
  std::error_code failure;
  fs::current_path(folder, failure);
  if (failure) return Failure(W("não foi possível entrar na pasta ") + Shown(folder), failure);
  return {};
}

}  // namespace taloven
