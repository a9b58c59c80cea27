#pragma once

#include <string>

#include "catalogue/xml_document.h"

namespace taloven {

// What loading a file that keeps the user's records found.
enum class RecordFile {
  Read,
  Missing,  // nothing saved yet: no fault
  Damaged,  // there, but it does not load: it must not be replaced
};

// Loads path into document. A Damaged file gives the reason in *error: the
// parser's line and its own words, or the system's reason it cannot be read.
RecordFile LoadRecordFile(const std::string& path, XmlDocument& document, std::string* error);

// Why a save does not replace a damaged file: reason, then what to do.
std::string DamagedFileKept(const std::string& reason);

// Why bytes that would not load again (reason) were not written to path.
std::string NotReadableBack(const std::string& path, const std::string& reason);

}  // namespace taloven
