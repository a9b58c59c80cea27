#include "programming/save_edited_configuration.h"

#include "base/encoding.h"
#include "catalogue/record_file.h"
#include "programming/configuration_file.h"
#include "resources/strings.h"

namespace taloven {
namespace {

bool AskYes(Ui& ui, const std::string& question) {
  return ui.Message(question, "", MessageButtons::YesNo, MessageIcon::Question) ==
         MessageAnswer::Yes;
}

EditedSaveOutcome NotSaved(Ui& ui, const std::string& reason) {
  std::string text = Str(StrId::kRecordNotSaved);
  if (!reason.empty()) text += "\r\n\r\n" + reason;
  ui.Message(text, Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
  return EditedSaveOutcome::NotSaved;
}

}  // namespace

EditedSaveOutcome SaveEditedConfiguration(EquipmentConfiguration& record,
                                          const std::string& workingDirectory, Ui& ui) {
  if (!AskYes(ui, W("Deseja salvar as alterações?"))) return EditedSaveOutcome::Declined;
  record.serialNumber = WithoutSpaces(record.serialNumber);
  if (record.serialNumber.empty()) {
    ui.Message(W("Para salvar o registro, é necessário informar um número de série."),
               Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
    return EditedSaveOutcome::NoSerial;
  }

  const std::string path = ConfigurationsPath(workingDirectory);
  ConfigurationList list;
  std::string reason;
  // A missing file starts an empty list; a file that is there but does not
  // load must not be overwritten by this one record.
  if (LoadConfigurations(path, list, &reason) < 0) return NotSaved(ui, DamagedFileKept(reason));

  EquipmentConfiguration stored = record;
  stored.password = EquipmentConfiguration().password;
  if (AddConfiguration(list, stored, false) == 1) {
    if (!AskYes(ui, W("Deseja substituir o registro já existente?"))) return NotSaved(ui, "");
    AddConfiguration(list, stored, true);
  }
  if (SaveConfigurations(path, list, &reason) != 0) return NotSaved(ui, reason);
  return EditedSaveOutcome::Saved;
}

}  // namespace taloven
