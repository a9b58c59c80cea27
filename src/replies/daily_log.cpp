#include "replies/daily_log.h"

#include <cstdio>
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
                   const std::tm& when) {
  const std::filesystem::path file = LogFilePath(workingDirectory, when);
  std::error_code ignored;
  std::filesystem::create_directory(file.parent_path(), ignored);

  const std::string bytes = ToTextModeLineEnds(RecordText(record, when));
  if (std::FILE* log = std::fopen(file.c_str(), "ab")) {
    std::fwrite(bytes.data(), 1, bytes.size(), log);
    std::fclose(log);
  }
  return 0;
}

}  // namespace taloven
