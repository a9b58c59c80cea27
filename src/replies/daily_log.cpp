#include "replies/daily_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "base/encoding.h"

namespace taloven {
namespace {

const char* const kStars = "**************************************************************";

// Texts are logged up to their first zero byte.
std::string_view UpToZero(const std::string& text) {
  return std::string_view(text.c_str());
}

std::string FormatTime(const char* pattern, const std::tm& when) {
  char buffer[64];
  const size_t length = std::strftime(buffer, sizeof buffer, pattern, &when);
  return std::string(buffer, length);
}

std::string RecordText(const CommandRecord& record, const std::tm& when) {
  std::string text;
  text += "\n";
  text += kStars;
  text += "\n";
  text += FormatTime("%d/%m/%Y \t %H:%M:%S\n", when);
  text += W("Título do Comando\tEscape\n");
  text.append(UpToZero(record.title)).append("\t").append(UpToZero(record.escapeText));
  text += W("\nParâmetros:\n");
  for (const CommandParameter& parameter : record.parameters)
    text.append("\n")
        .append(UpToZero(parameter.title))
        .append("\t")
        .append(UpToZero(parameter.value));
  text += "\nRetornos:\n";
  for (const ReturnField& field : record.returnFields) {
    text.append("\n").append(UpToZero(field.title)).append("\t").append(UpToZero(field.value));
    text += "\n";
  }
  text += "\nRetorno formatado:\n";
  text.append(UpToZero(record.formattedReturn));
  text += "\n";
  text += kStars;
  return text;
}

// Appends the bytes with one write. A write the disk takes only in part is
// followed by one for the rest, which either completes the record or fails
// with the system's reason; then the file is cut back to where the record
// began. The errno of the failure, or 0.
int AppendWhole(const std::filesystem::path& file, const std::string& bytes) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  int error = 0;
  size_t done = 0;
  off_t start = -1;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error = written < 0 ? errno : EIO;
      break;
    }
    // Appends go to the end, so the record began this many bytes back from
    // where its first piece ended, whatever others appended before it.
    if (start < 0) start = ::lseek(fd, 0, SEEK_CUR) - written;
    done += static_cast<size_t>(written);
  }
  if (error != 0 && start >= 0) (void)!::ftruncate(fd, start);
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

}  // namespace

std::string LogFilePath(const std::string& workingDirectory, const std::tm& when) {
  const std::filesystem::path directory = workingDirectory.empty()
                                              ? std::filesystem::path(".")
                                              : std::filesystem::path(workingDirectory);
  return (directory / "log" / FormatTime("Log_%Y_%m_%d.txt", when)).string();
}

std::string ToTextModeLineEnds(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

int WriteLogRecord(const CommandRecord& record, const std::string& workingDirectory,
                   const std::tm& when, std::string* failure) {
  const std::filesystem::path file = LogFilePath(workingDirectory, when);
  // A directory that cannot be made shows as the open's failure below.
  std::error_code ignored;
  std::filesystem::create_directory(file.parent_path(), ignored);

  const std::string bytes = ToTextModeLineEnds(RecordText(record, when));
  const int error = AppendWhole(file, bytes);
  if (error == 0) return 0;
  if (failure)
    *failure =
        W("Não foi possível gravar o log diário ") + file.string() + ": " + std::strerror(error);
  return -1;
}

}  // namespace taloven
