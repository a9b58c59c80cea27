#include "sequences/sequence_store.h"

#include "resources/strings.h"
#include "sequences/sequences_file.h"
#include "ui/ui.h"

namespace taloven {
namespace {

// The reason follows the message unless the caller takes it to say itself.
void Tell(Ui& ui, StrId text, const std::string& reason = {}, const std::string* taken = nullptr) {
  std::string message = Str(text);
  if (!reason.empty() && !taken) message += "\r\n\r\n" + reason;
  ui.Message(message, Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
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
  std::string reason;
  if (SaveSequences(list, path, &reason) != 0) {
    Tell(ui, StrId::kRecordNotSaved, reason, error);
    if (error) *error = reason;
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
  std::string reason;
  if (SaveSequences(list, path, &reason) != 0) {
    Tell(ui, StrId::kRecordNotDeleted, reason, error);
    if (error) *error = reason;
    return false;
  }
  return true;
}

}  // namespace taloven
