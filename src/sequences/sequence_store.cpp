#include "sequences/sequence_store.h"

#include "resources/strings.h"
#include "sequences/sequences_file.h"
#include "ui/ui.h"

namespace taloven {
namespace {

// The reason the file was not written follows the message.
void Tell(Ui& ui, StrId text, const std::string& reason = {}) {
  std::string message = Str(text);
  if (!reason.empty()) message += "\r\n\r\n" + reason;
  ui.Message(message, Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
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
  if (!saved.ok()) Tell(ui, StrId::kRecordNotSaved, saved.message());
  return saved;
}

Status DeleteSequence(SavedSequences& list, const std::string& name, const std::string& path,
                      Ui& ui) {
  if (list.Remove(name) != 0) {
    Tell(ui, StrId::kRecordNotDeleted);
    return Status::Failure({});
  }
  Status saved = SaveSequences(list, path);
  if (!saved.ok()) Tell(ui, StrId::kRecordNotDeleted, saved.message());
  return saved;
}

}  // namespace taloven
