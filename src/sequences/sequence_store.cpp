#include "sequences/sequence_store.h"

#include "resources/strings.h"
#include "sequences/sequences_file.h"
#include "ui/ui.h"

namespace taloven {
namespace {

void Tell(Ui& ui, StrId text) {
  ui.Message(Str(text), Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
}

}  // namespace

bool StoreSequence(SavedSequences& list, const CommandSequence& sequence, const std::string& path,
                   Ui& ui, ReplaceAnswer replace, std::string* error) {
  if (list.Add(sequence, false) == AddResult::Exists) {
    bool yes = replace == ReplaceAnswer::Yes;
    if (replace == ReplaceAnswer::Ask) {
      yes = ui.Message(Str(StrId::kReplaceRecord), Str(StrId::kProductName), MessageButtons::YesNo,
                       MessageIcon::Question) == MessageAnswer::Yes;
    }
    if (!yes) {
      Tell(ui, StrId::kRecordNotSaved);
      return false;
    }
    list.Add(sequence, true);
  }
  if (SaveSequences(list, path, error) != 0) {
    Tell(ui, StrId::kRecordNotSaved);
    return false;
  }
  return true;
}

bool DeleteSequence(SavedSequences& list, const std::string& name, const std::string& path, Ui& ui,
                    std::string* error) {
  if (list.Remove(name) != 0) {
    Tell(ui, StrId::kRecordNotDeleted);
    return false;
  }
  if (SaveSequences(list, path, error) != 0) {
    Tell(ui, StrId::kRecordNotDeleted);
    return false;
  }
  return true;
}

}  // namespace taloven
