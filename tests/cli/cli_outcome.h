#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli_command.h"

namespace taloven::testing {

struct CliOutcome {
  int status;
  std::string out;
  std::string err;
};

// The whole program run inside the test's own process. Its standard input is
// at its end from the start, as when nobody is there to type: a command that
// asks for a value takes it as cancelled.
inline CliOutcome RunCliCaptured(const std::vector<std::string>& args,
                                 const std::vector<CliCommand>& table = CommandTable()) {
  std::istringstream in;
  std::ostringstream out, err;
  const int status = RunCli(args, in, out, err, table);
  return {status, out.str(), err.str()};
}

}  // namespace taloven::testing
