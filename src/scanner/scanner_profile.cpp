#include "scanner/scanner_profile.h"

#include "base/encoding.h"
#include "base/profile_file.h"

namespace taloven {

ScannerSettings LoadScannerSettings(Ui& ui, ScannerDefaults defaults) {
  ProfileFile profile(ProfileFile::DefaultPath());
  if (const Status loaded = profile.Load(); !loaded.ok())
    ui.Message(W("Não foi possível ler as configurações do scanner.\n") + loaded.message() +
                   "\nArquivo: " + profile.Path(),
               W("Atenção"), MessageButtons::Ok, MessageIcon::Exclamation);
  return ReadScannerSettings(profile, defaults);
}

bool SaveScannerSettings(Ui& ui, const ScannerSettings& settings) {
  ProfileFile profile(ProfileFile::DefaultPath());
  // An unreadable profile is not overwritten: what else it holds would be lost.
  Status done = profile.Load();
  if (done.ok()) {
    StoreScannerSettings(profile, settings);
    done = profile.Save();
    if (done.ok()) return true;
  }
  ui.Message(W("Não foi possível gravar as configurações do scanner.\n") + done.message() +
                 "\nArquivo: " + profile.Path(),
             "Erro", MessageButtons::Ok, MessageIcon::Error);
  return false;
}

}  // namespace taloven
