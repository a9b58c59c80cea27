#pragma once

#include <string>

#include "base/status.h"
#include "catalogue/record_file.h"
#include "sequences/saved_sequences.h"

namespace taloven {

// directory/sequencias.xml; the bare name when directory is empty.
std::string SequencesFilePath(const std::string& directory);

// Appends the file's sequences to list, in document order. A missing file
// adds nothing: there is simply no saved sequence yet. A damaged one adds
// nothing, fails with its reason (line and parser's words) and marks the
// list, so that SaveSequences will not replace it.
Result<RecordFile> LoadSequences(const std::string& path, SavedSequences& list);

// The bytes SaveSequences writes for list.
std::string SequencesDocument(const SavedSequences& list);

// Writes the whole list to path; fails, with the reason, when the file was
// not written. The old file stays whole whatever
// happens, and a list that would not read back (a value holding a control
// character) is not written at all. When the list came from a damaged
// file, nothing is written while a file is still at path: the user moves
// it away first.
Status SaveSequences(const SavedSequences& list, const std::string& path);

}  // namespace taloven
