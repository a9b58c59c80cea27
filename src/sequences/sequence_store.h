#pragma once

#include <string>

#include "sequences/saved_sequences.h"

namespace taloven {

class Ui;

// Who answers "Deseja substituir o registro já existente?".
enum class ReplaceAnswer { Ask, Yes, No };

// Adds the named sequence to list, replacing one of the same name only when
// the answer is Yes, and writes list to path. "Registro não salvo" tells the
// user when the answer was No or the file was not written (the reason then
// in *error). True when the file now holds the sequence.
bool StoreSequence(SavedSequences& list, const CommandSequence& sequence, const std::string& path,
                   Ui& ui, ReplaceAnswer replace = ReplaceAnswer::Ask,
                   std::string* error = nullptr);

// Takes the sequence of that name out of list and writes path. When there
// is no such sequence nothing is written; then, or when the write failed,
// "Registro não excluído" tells the user (and *error why the write failed).
// True when it is gone from the file.
bool DeleteSequence(SavedSequences& list, const std::string& name, const std::string& path, Ui& ui,
                    std::string* error = nullptr);

}  // namespace taloven
