#include "ui/open_document.h"

#include <filesystem>
#include <system_error>

#include "base/encoding.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {

bool OpenDocument(Ui& ui, const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(std::filesystem::path(Cp1252ToUtf8(path)), error)) {
    ui.Message(W("O arquivo não foi encontrado:\r\n") + path, Str(StrId::kProductName),
               MessageButtons::Ok, MessageIcon::Exclamation);
    return false;
  }
  if (!ui.ShellOpen(path)) {
    ui.Message(W("Não foi possível abrir o arquivo:\r\n") + path +
                   W("\r\nVerifique se há um programa associado a este tipo de arquivo."),
               Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
    return false;
  }
  return true;
}

}  // namespace taloven
