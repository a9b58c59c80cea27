#pragma once

#include <string>

namespace taloven {

// The directory that stands for the printer programs' "C:\": where the file
// exchange keeps "comando.dat" and "retorno.dat". Taken from the environment
// variable TALOVEN_DRIVE_C; without it, /tmp/taloven-drive_c-<uid>, which the
// virtual printer uses as well. Created on demand; no trailing slash.
std::string DriveCDirectory();

}  // namespace taloven
