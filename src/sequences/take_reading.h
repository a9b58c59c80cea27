#pragma once

#include <optional>
#include <string>

#include "base/status.h"
#include "link/execute.h"

namespace taloven {

// The four stored readings: before and after the training run, before and
// after the verification run.
inline constexpr const char* kTrainingBefore = "LX1.txt";
inline constexpr const char* kTrainingAfter = "LX2.txt";
inline constexpr const char* kCheckBefore = "LX1B.txt";
inline constexpr const char* kCheckAfter = "LX2B.txt";

// Where a reading file lies: in the working directory (the current one when
// it is empty).
std::string ReadingPath(const std::string& workingDirectory, const std::string& name);

// One X reading: command 69, read as a text of any length.
struct Reading {
  int result = kExecuteOk;             // of the exchange
  std::optional<std::string> refusal;  // the printer answered, but refused: its status
  std::string text;                    // the command's results text, a failure's included
  std::string outcome;                 // the same without the line naming the command
  bool Taken() const { return result == kExecuteOk && !refusal; }
};

// Takes a reading through the port; nothing is written.
Reading TakeReading(ExecutionContext& context);

}  // namespace taloven
