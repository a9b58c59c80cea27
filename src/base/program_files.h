#pragma once

#include <string>

namespace taloven {

// Where the files that come with the programs are. A program run from the
// build tree uses the build's folders; an installed one finds them relative
// to its own folder, so an installed tree works wherever it was put: under
// /usr by the package as well as unpacked into a scratch folder.
struct ProgramFiles {
  std::string libraryDirectory;  // KovoMFD.so and KovoMFD2.so
  std::string sampleDirectory;   // comandos.xml, help/ and usb/ as shipped
};

// For a program living in programDirectory.
ProgramFiles ProgramFilesFor(const std::string& programDirectory);

// The folder of the running program's executable; empty when the system
// cannot tell.
std::string RunningProgramDirectory();

ProgramFiles RunningProgramFiles();

}  // namespace taloven
