#pragma once

namespace taloven {

// The release of the programs, e.g. "1.0.0": the same text in every program's
// --version, the About box and the package.
const char* ProgramVersion();

}  // namespace taloven
