#pragma once

#include <functional>
#include <string>

#include "base/result.h"
#include "catalogue/xml_document.h"

namespace taloven {

// What loading a file that keeps the user's records found when it loaded.
enum class RecordFile {
  Missing,  // nothing saved yet: no fault
  Read,
};

// Loads path into document. Fails when the file is there but does not load
// (it must not be replaced), with the parser's line and its own words, or the
// system's reason it cannot be read.
Result<RecordFile> LoadRecordFile(const std::string& path, XmlDocument& document);

// Reads path through read, which streams it (through a CommandStream of the
// file's own), so that the file never stands whole in memory. Missing, with
// nothing read, when there is no file; fails as LoadRecordFile does when the
// file is there but does not read (read may then have taken in what came
// before the fault).
Result<RecordFile> ReadRecordFile(const std::string& path, const std::function<Status()>& read);

// Why a save does not replace a damaged file: reason, then what to do.
std::string DamagedFileKept(const std::string& reason);

// Why bytes that would not load again (reason) were not written to path.
std::string NotReadableBack(const std::string& path, const std::string& reason);

}  // namespace taloven
