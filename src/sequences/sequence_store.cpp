#include "sequences/sequence_store.h"

#include "resources/strings.h"
#include "sequences/sequences_file.h"
#include "ui/ui.h"

namespace taloven {
namespace {

constexpr int kReplaceQuestion = 32892;  // "Deseja substituir o registro já existente?"
constexpr int kNotSaved = 32887;         // "Registro não salvo"
constexpr int kNotDeleted = 32888;       // "Registro não excluído"
constexpr int kProductName = 32915;

void Tell(Ui& ui, int text) {
  ui.Message(Str(text), Str(kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
}

}  // namespace

bool StoreSequence(SavedSequences& list, const CommandSequence& sequence, const std::string& path,
                   Ui& ui, ReplaceAnswer replace, std::string* error) {
  if (list.Add(sequence, false) == AddResult::Exists) {
    bool yes = replace == ReplaceAnswer::Yes;
    if (replace == ReplaceAnswer::Ask) {
      yes = ui.Message(Str(kReplaceQuestion), Str(kProductName), MessageButtons::YesNo,
                       MessageIcon::Question) == MessageAnswer::Yes;
    }
    if (!yes) {
      Tell(ui, kNotSaved);
      return false;
    }
    list.Add(sequence, true);
  }
  if (SaveSequences(list, path, error) != 0) {
    Tell(ui, kNotSaved);
    return false;
  }
  return true;
}

bool DeleteSequence(SavedSequences& list, const std::string& name, const std::string& path, Ui& ui,
                    std::string* error) {
  if (list.Remove(name) != 0) {
    Tell(ui, kNotDeleted);
    return false;
  }
  if (SaveSequences(list, path, error) != 0) {
    Tell(ui, kNotDeleted);
    return false;
  }
  return true;
}

}  // namespace taloven
