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
  // A missing file starts an empty list; a file that is there but does not
  // load must not be overwritten by this one record.
  if (const Result<RecordFile> loaded = LoadConfigurations(path, list); !loaded.ok())
    return NotSaved(ui, DamagedFileKept(loaded.status().message()));

  EquipmentConfiguration stored = record;
  stored.password = EquipmentConfiguration().password;
  if (AddConfiguration(list, stored, false) == 1) {
    if (!AskYes(ui, W("Deseja substituir o registro já existente?"))) return NotSaved(ui, "");
    AddConfiguration(list, stored, true);
  }
  if (const Status saved = SaveConfigurations(path, list); !saved.ok())
    return NotSaved(ui, saved.message());
  return EditedSaveOutcome::Saved;
}

}  // namespace taloven
