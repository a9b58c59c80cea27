#include "sequences/take_reading.h"

#include <filesystem>

#include "catalogue/command_record.h"
#include "link/reply_results.h"
#include "replies/return_format.h"

namespace taloven {

std::string ReadingPath(const std::string& workingDirectory, const std::string& name) {
  const std::filesystem::path directory = workingDirectory.empty()
                                              ? std::filesystem::path(".")
                                              : std::filesystem::path(workingDirectory);
  return (directory / name).string();
}

Reading TakeReading(ExecutionContext& context) {
  CommandRecord record;
  record.SetEscapeText("69");
  record.SetReturnSize(-1);
  Reading reading;
  reading.result = Execute(record, context);
  if (reading.result == kExecuteOk) {
    if (std::optional<RefusedCommand> refused = RecordRefusal(record, true))
      reading.refusal = std::move(refused->status);
  }
  reading.text = std::move(record.formattedReturn);
  const std::string header = ResultsHeader(record.title);
  reading.outcome =
      reading.text.rfind(header, 0) == 0 ? reading.text.substr(header.size()) : reading.text;
  return reading;
}

}  // namespace taloven
