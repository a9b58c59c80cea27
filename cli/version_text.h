#pragma once

#include <string>

namespace taloven {

// What "taloven-cli --version" prints (Windows-1252): the program's version,
// then each fiscal-memory library with the version it reports (in points, as
// the About box shows it) and the folder it was loaded from, or why it could
// not be loaded. A technician sees at once whether the installed libraries
// are the ones in use.
std::string CliVersionText();

}  // namespace taloven
