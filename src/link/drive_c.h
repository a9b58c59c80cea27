#pragma once

#include <string>

namespace taloven {

// Why the "C:\" directory cannot be used.
enum class DriveCFault {
  kNone,
  kCannotCreate,  // missing and not creatable (error holds the system's code)
  kNotDirectory,  // something else stands at that name
  kSymbolicLink,  // it could lead anywhere, chosen by whoever made it
  kNotOwned,      // another user made it and can read or forge the exchange
  kOpenToOthers,  // group or others may write into it
};

struct DriveC {
  std::string directory;  // no trailing slash
  DriveCFault fault = DriveCFault::kNone;
  int error = 0;
};

// The directory that stands for the printer programs' "C:\": where the file
// exchange keeps "comando.dat" and "retorno.dat". Taken from the environment
// variable TALOVEN_DRIVE_C as it is; without it, "taloven-drive_c" under
// $XDG_RUNTIME_DIR, else /tmp/taloven-drive_c-<uid>, which the virtual printer
// uses as well. A missing directory is created for the user alone; one not
// configured must be a real directory of the user's that no one else may
// write into, since commands (passwords among them) and replies pass there.
DriveC FindDriveC();

// FindDriveC's directory, whether usable or not.
std::string DriveCDirectory();

}  // namespace taloven
