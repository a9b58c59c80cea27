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

// Reads path element by element, as ForEachElement does, handing every
// element named name to visit; the file never stands as one tree. Missing,
// with nothing visited, when there is no file; fails as LoadRecordFile does
// when the file is there but does not read (visit may then have seen the
// elements before the fault).
Result<RecordFile> ReadRecordElements(const std::string& path, const std::string& name,
                                      const std::function<void(const XmlNode&)>& visit);

// Why a save does not replace a damaged file: reason, then what to do.
std::string DamagedFileKept(const std::string& reason);

// Why bytes that would not load again (reason) were not written to path.
std::string NotReadableBack(const std::string& path, const std::string& reason);

}  // namespace taloven
