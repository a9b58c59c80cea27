#include "fiscalmem/offer_to_open.h"

#include <sys/stat.h>

#include "base/encoding.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {

void OfferToOpen(Ui& ui, const std::string& path) {
  const std::string text =
      "Arquivo criado com sucesso: \r\n" + path + "\r\n" + "Gostaria de abrir o documento agora?";
  if (ui.Message(text, Str(StrId::kProductName), MessageButtons::YesNo, MessageIcon::Question) !=
      MessageAnswer::Yes)
    return;
  if (!ui.ShellOpen(path))
    ui.Message(W("Não foi possível abrir o arquivo ") + path, Str(StrId::kProductName),
               MessageButtons::Ok, MessageIcon::Exclamation);
}

void OfferToOpenIfCreated(Ui& ui, const std::string& path, bool callFailed) {
  struct stat info {};
  if (!callFailed && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    OfferToOpen(ui, path);
    return;
  }
  ui.Message(W("O arquivo não foi criado: \r\n") + path, Str(StrId::kProductName),
             MessageButtons::Ok, MessageIcon::Exclamation);
}

}  // namespace taloven
