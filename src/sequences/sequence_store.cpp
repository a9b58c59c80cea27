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

Status StoreSequence(SavedSequences& list, const CommandSequence& sequence, const std::string& path,
                     Ui& ui, ReplaceAnswer replace) {
  if (list.Add(sequence, false) == AddResult::Exists) {
    bool yes = replace == ReplaceAnswer::Yes;
    if (replace == ReplaceAnswer::Ask) {
      yes = ui.Message(Str(StrId::kReplaceRecord), Str(StrId::kProductName), MessageButtons::YesNo,
                       MessageIcon::Question) == MessageAnswer::Yes;
    }
    if (!yes) {
      Tell(ui, StrId::kRecordNotSaved);
      return Status::Failure({});
    }
    list.Add(sequence, true);
  }
  Status saved = SaveSequences(list, path);
  if (!saved.ok()) Tell(ui, StrId::kRecordNotSaved);
  return saved;
}

Status DeleteSequence(SavedSequences& list, const std::string& name, const std::string& path,
                      Ui& ui) {
  if (list.Remove(name) != 0) {
    Tell(ui, StrId::kRecordNotDeleted);
    return Status::Failure({});
  }
  Status saved = SaveSequences(list, path);
  if (!saved.ok()) Tell(ui, StrId::kRecordNotDeleted);
  return saved;
}

}  // namespace taloven
