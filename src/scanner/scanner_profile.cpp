#include "scanner/scanner_profile.h"

#include "base/encoding.h"
#include "base/profile_file.h"

namespace taloven {

ScannerSettings LoadScannerSettings(Ui& ui, ScannerDefaults defaults) {
  ProfileFile profile(ProfileFile::DefaultPath());
  std::string error;
  if (!profile.Load(&error))
    ui.Message(W("Não foi possível ler as configurações do scanner.\n") + error +
                   "\nArquivo: " + profile.Path(),
               W("Atenção"), MessageButtons::Ok, MessageIcon::Exclamation);
  return ReadScannerSettings(profile, defaults);
}

bool SaveScannerSettings(Ui& ui, const ScannerSettings& settings) {
  ProfileFile profile(ProfileFile::DefaultPath());
  std::string error;
  // An unreadable profile is not overwritten: what else it holds would be lost.
  if (profile.Load(&error)) {
    StoreScannerSettings(profile, settings);
    if (profile.Save(&error)) return true;
  }
  ui.Message(W("Não foi possível gravar as configurações do scanner.\n") + error +
                 "\nArquivo: " + profile.Path(),
             "Erro", MessageButtons::Ok, MessageIcon::Error);
  return false;
}

}  // namespace taloven
