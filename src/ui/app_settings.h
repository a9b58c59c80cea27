#pragma once

#include <cstdint>
#include <string>

namespace taloven {

// The running program's settings. None survives the run: each start begins
// from these values and model detection.
struct AppSettings {
  std::string portName;
  std::string modelName;
  uint32_t modelMask = 0xFFFF;
  int extendedReturn = 0;
  int showResults = 1;
  int filterByModel = 0;
  // Every byte exchanged with a printer goes to log/Trace_YYYY_MM_DD.txt.
  int traceBytes = 0;
  std::string workingDirectory;
};

}  // namespace taloven
