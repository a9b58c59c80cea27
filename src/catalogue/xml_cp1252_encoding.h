#pragma once

namespace taloven {

// Teaches libxml2 Windows-1252 (also under the name CP1252) with all 256
// bytes: the five the code page leaves unassigned travel as the C1 control
// characters of the same value, so any byte a file holds reads and writes
// back unchanged. Safe to call many times and from many threads.
void RegisterCp1252ForXml();

}  // namespace taloven
