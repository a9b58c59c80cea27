#pragma once

#include <vector>

namespace taloven {

// One exit status of taloven-cli, or a run of them, as the manual page and
// the help file's command-line page list it. Texts are UTF-8.
struct ExitStatusEntry {
  const char* codes;    // "0", "2 a 6"
  const char* meaning;  // one sentence or a few
};

const std::vector<ExitStatusEntry>& ExitStatusTable();

}  // namespace taloven
