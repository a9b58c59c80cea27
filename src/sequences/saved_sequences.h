#pragma once

#include <string>
#include <vector>

#include "sequences/command_sequence.h"

namespace taloven {

enum class AddResult { Added, Exists };

// The saved sequences in file order. Names are compared byte for byte, so
// "TESTE" and "TESTE" padded with blanks are two different sequences.
class SavedSequences {
 public:
  int Count() const { return static_cast<int>(sequences_.size()); }
  const CommandSequence& At(int index) const { return sequences_.at(static_cast<size_t>(index)); }
  const std::vector<CommandSequence>& Sequences() const { return sequences_; }
  // The first sequence with that name, or nullptr.
  const CommandSequence* Find(const std::string& name) const;

  // A sequence of the same name is taken out and the new one appended when
  // replace is set; without it nothing changes and the result is Exists.
  AddResult Add(const CommandSequence& sequence, bool replace);
  // Takes out the first sequence with that name: 0, or -1 when there is none.
  int Remove(const std::string& name);
  void Append(CommandSequence sequence) { sequences_.push_back(std::move(sequence)); }
  void Clear() {
    sequences_.clear();
    fileUnreadable_ = false;
  }

  // Set when the list was read from a file that exists but could not be
  // read: writing the list must not silently replace what may be repaired.
  void SetFileUnreadable(bool unreadable) { fileUnreadable_ = unreadable; }
  bool FileUnreadable() const { return fileUnreadable_; }

 private:
  std::vector<CommandSequence> sequences_;
  bool fileUnreadable_ = false;
};

}  // namespace taloven
