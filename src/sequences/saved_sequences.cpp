#include "sequences/saved_sequences.h"

#include <algorithm>

namespace taloven {

const CommandSequence* SavedSequences::Find(const std::string& name) const {
  for (const CommandSequence& sequence : sequences_)
    if (sequence.name == name) return &sequence;
  return nullptr;
}

AddResult SavedSequences::Add(const CommandSequence& sequence, bool replace) {
  if (Find(sequence.name)) {
    if (!replace) return AddResult::Exists;
    Remove(sequence.name);
  }
  sequences_.push_back(sequence);
  return AddResult::Added;
}

int SavedSequences::Remove(const std::string& name) {
  auto found = std::find_if(sequences_.begin(), sequences_.end(),
                            [&](const CommandSequence& s) { return s.name == name; });
  if (found == sequences_.end()) return -1;
  sequences_.erase(found);
  return 0;
}

}  // namespace taloven
