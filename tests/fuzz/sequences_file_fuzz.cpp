// The sequences file reader on arbitrary files. Property: a list read from a
// file and saved reads back as the same list, saved again as the same bytes;
// a list that could not be read back is refused, never written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_files.h"
#include "sequences/sequences_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace taloven;
  using fuzz::Require;
  SavedSequences list;
  const Result<RecordFile> read =
      LoadSequences(fuzz::WriteScratch("sequencias.xml", fuzz::Bytes(data, size)), list);
  if (!read.ok()) {
    Require(list.Count() == 0 && list.FileUnreadable(), "a damaged file adds nothing");
    return 0;
  }
  const std::string saved = fuzz::ScratchPath("saved.xml");
  std::remove(saved.c_str());
  if (!SaveSequences(list, saved).ok()) return 0;
  SavedSequences again;
  const Result<RecordFile> reread = LoadSequences(saved, again);
  Require(reread.ok() && reread.value() == RecordFile::Read, "a saved list reads back");
  Require(again.Count() == list.Count(), "every sequence reads back");
  for (int i = 0; i < list.Count(); ++i) {
    const CommandSequence& a = list.At(i);
    const CommandSequence& b = again.At(i);
    Require(a.name == b.name && a.commands.size() == b.commands.size(),
            "a sequence reads back with its name and commands");
  }
  Require(SequencesDocument(again) == fuzz::ReadScratch(saved),
          "a list read back saves as the same bytes");
  return 0;
}
