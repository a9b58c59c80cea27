#pragma once

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

// Takes an X reading through the port (command 69, read as a text of any
// length) and stores the command's results text in path, replacing what was
// there. Whatever the exchange gave is stored, a failure text included. A
// failure says why the file could not be written: the file is then as it was
// before, and must not be taken for this reading.
Status TakeReading(const std::string& path, ExecutionContext& context);

}  // namespace taloven
