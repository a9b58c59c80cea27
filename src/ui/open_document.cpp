#include "ui/open_document.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "base/encoding.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

// A fresh Debian desktop has no program for the help file: name the one to
// install, as the technician cannot guess it from a file's extension.
std::string WhatToInstall(const std::string& path) {
  const std::string chm = ".chm";
  std::string ending = path.size() >= chm.size() ? path.substr(path.size() - chm.size()) : "";
  for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ending == chm)
    return W(
        "Nenhum programa deste computador lê arquivos de ajuda (.chm). Instale um leitor, "
        "por exemplo o xchm:\r\n    sudo apt-get install xchm");
  return W(
      "Nenhum programa deste computador abre este tipo de arquivo. Instale um, por exemplo "
      "um editor de texto para arquivos .xml e .txt:\r\n    sudo apt-get install mousepad");
}

// Opens path through open, after making sure there is a file to open.
template <typename Opener>
bool OpenExisting(Ui& ui, const std::string& path, Opener open) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(std::filesystem::path(Cp1252ToUtf8(path)), error)) {
    ui.Message(W("O arquivo não foi encontrado:\r\n") + path, Str(StrId::kProductName),
               MessageButtons::Ok, MessageIcon::Exclamation);
    return false;
  }
  if (!open()) {
    ui.Message(W("Não foi possível abrir o arquivo:\r\n") + path + "\r\n\r\n" + WhatToInstall(path),
               Str(StrId::kProductName), MessageButtons::Ok, MessageIcon::Exclamation);
    return false;
  }
  return true;
}

}  // namespace

bool OpenDocument(Ui& ui, const std::string& path) {
  return OpenExisting(ui, path, [&] { return ui.ShellOpen(path); });
}

bool OpenHelp(Ui& ui, const std::string& workingDirectory, HelpTopic topic) {
  const std::string path = workingDirectory + "/help/Taloven_Help.chm";
  return OpenExisting(ui, path,
                      [&] { return ui.ShellOpenHelp(path, HelpPageOf(topic).contextId); });
}

}  // namespace taloven
