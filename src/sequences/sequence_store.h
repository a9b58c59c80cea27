#pragma once

#include <string>

#include "base/status.h"
#include "sequences/saved_sequences.h"

namespace taloven {

class Ui;

// Who answers "Deseja substituir o registro já existente?".
enum class ReplaceAnswer { Ask, Yes, No };

// Adds the named sequence to list, replacing one of the same name only when
// the answer is Yes, and writes list to path. "Registro não salvo" tells the
// user when the answer was No or the file was not written, followed by why
// it was not written. Ok when the file
// now holds the sequence; a failure says why the file was not written, and
// has no message when the answer was No.
Status StoreSequence(SavedSequences& list, const CommandSequence& sequence, const std::string& path,
                     Ui& ui, ReplaceAnswer replace = ReplaceAnswer::Ask);

// Takes the sequence of that name out of list and writes path. When there
// is no such sequence nothing is written; then, or when the write failed,
// "Registro não excluído" tells the user (with why the write failed). Ok when it is gone from the
// file; a failure says why the write failed, and has no message when there was no such sequence.
Status DeleteSequence(SavedSequences& list, const std::string& name, const std::string& path,
                      Ui& ui);

}  // namespace taloven
