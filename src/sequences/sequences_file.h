#pragma once

#include <string>

#include "base/status.h"
#include "sequences/saved_sequences.h"

namespace taloven {

// directory/sequencias.xml; the bare name when directory is empty.
std::string SequencesFilePath(const std::string& directory);

// Appends the file's sequences to list, in document order. A missing or
// unreadable file adds nothing and says nothing: there is simply no saved
// sequence yet. An unreadable one marks the list (see SaveSequences).
// Returns whether the file was read.
bool LoadSequences(const std::string& path, SavedSequences& list);

// The bytes SaveSequences writes for list.
std::string SequencesDocument(const SavedSequences& list);

// Writes the whole list to path; fails, with the reason, when the file was
// not written. The old file stays whole whatever
// happens, and a list that would not read back (a value holding a control
// character) is not written at all. When the list came from a file that
// could not be read, that file is first kept beside it as
// sequencias.xml.bak (.bak.1, .bak.2, ... when taken).
Status SaveSequences(const SavedSequences& list, const std::string& path);

}  // namespace taloven
