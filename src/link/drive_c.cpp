#include "link/drive_c.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace taloven {
namespace {

std::string DefaultDirectory() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/') {
    std::string directory = runtime;
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    return directory + "/taloven-drive_c";
  }
  return "/tmp/taloven-drive_c-" + std::to_string(getuid());
}

// The directory as found with lstat, so that a link is seen as a link.
DriveCFault Judge(const std::string& directory, int& error) {
  struct stat info {};
  if (lstat(directory.c_str(), &info) != 0) {
    error = errno;
    return DriveCFault::kCannotCreate;
  }
  if (S_ISLNK(info.st_mode)) return DriveCFault::kSymbolicLink;
  if (!S_ISDIR(info.st_mode)) return DriveCFault::kNotDirectory;
  if (info.st_uid != getuid()) return DriveCFault::kNotOwned;
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) return DriveCFault::kOpenToOthers;
  return DriveCFault::kNone;
}

}  // namespace

DriveC FindDriveC() {
  DriveC drive;
  const char* configured = std::getenv("TALOVEN_DRIVE_C");
  const bool explicitlyChosen = configured && *configured;
  if (explicitlyChosen) {
    drive.directory = configured;
    while (drive.directory.size() > 1 && drive.directory.back() == '/') drive.directory.pop_back();
  } else {
    drive.directory = DefaultDirectory();
  }
  // mkdir never follows a link at the last component, so a link planted
  // there makes it fail and is then judged as what it is.
  if (mkdir(drive.directory.c_str(), 0700) != 0 && errno != EEXIST) {
    drive.error = errno;
    drive.fault = DriveCFault::kCannotCreate;
    return drive;
  }
  if (!explicitlyChosen) drive.fault = Judge(drive.directory, drive.error);
  return drive;
}

std::string DriveCDirectory() {
  return FindDriveC().directory;
}

}  // namespace taloven
