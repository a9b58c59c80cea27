#include "sequences/take_reading.h"

#include <filesystem>

#include "base/atomic_file.h"
#include "catalogue/command_record.h"

namespace taloven {

std::string ReadingPath(const std::string& workingDirectory, const std::string& name) {
  const std::filesystem::path directory = workingDirectory.empty()
                                              ? std::filesystem::path(".")
                                              : std::filesystem::path(workingDirectory);
  return (directory / name).string();
}

Status TakeReading(const std::string& path, ExecutionContext& context) {
  CommandRecord record;
  record.SetEscapeText("69");
  record.SetReturnSize(-1);
  Execute(record, context);
  return WriteFileAtomically(path, record.formattedReturn);
}

}  // namespace taloven
