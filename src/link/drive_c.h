#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace taloven {

// The directory that stands for the "C:\" of the file exchange, where the
// application appends comando.dat and the program standing in for the
// printer appends retorno.dat. Both sides include this one rule:
// $TALOVEN_DRIVE_C when set; else $XDG_RUNTIME_DIR/taloven/drive_c; else
// /tmp/taloven-drive_c-<uid>. Kept inline so that the virtual printer uses it
// without linking the application's link code.
inline std::string DriveCDirectory() {
  if (const char* chosen = std::getenv("TALOVEN_DRIVE_C"); chosen && *chosen) return chosen;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
    return std::string(runtime) + "/taloven/drive_c";
  return "/tmp/taloven-drive_c-" + std::to_string(getuid());
}

}  // namespace taloven
