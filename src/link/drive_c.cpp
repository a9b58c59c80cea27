#include "link/drive_c.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace taloven {

std::string DriveCDirectory() {
  std::string directory;
  if (const char* configured = std::getenv("TALOVEN_DRIVE_C"); configured && *configured) {
    directory = configured;
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  } else {
    directory = "/tmp/taloven-drive_c-" + std::to_string(getuid());
  }
  // An existing directory is fine; any other failure shows when the files open.
  mkdir(directory.c_str(), 0777);
  return directory;
}

}  // namespace taloven
