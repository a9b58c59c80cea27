#include "replies/results_save.h"

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "replies/daily_log.h"
#include "replies/hex_dump.h"
#include "resources/strings.h"

namespace taloven {
namespace {

std::vector<FileFilter> TextFileFilters() {
  return {{"Arquivos de Texto (*.txt)", "*.txt"}, {"Todos os Arquivos (*.*)", "*.*"}};
}

}  // namespace

std::string ResultsFileText(int choice, const std::string& message, const std::string& dump) {
  switch (choice) {
    case 1:
      return message;
    case 2:
      return HexDumpText(dump);
    default:
      return message + HexDumpText(dump);
  }
}

std::optional<std::string> SaveResults(Ui& ui, const std::string& message,
                                       const std::string& dump) {
  const std::optional<std::string> path = ui.SaveFileName("Msg_Ret", "*.txt", TextFileFilters());
  if (!path) return std::nullopt;

  const std::optional<int> choice = ui.Options(
      W("O que deseja salvar?"),
      {Str(StrId::kMessage), Str(StrId::kDump), Str(StrId::kMessage) + " + " + Str(StrId::kDump)});
  if (!choice || *choice < 1 || *choice > 3) return std::nullopt;

  // The Ui speaks Windows-1252; the file system takes UTF-8 names.
  const Status written = WriteFileAtomically(
      Cp1252ToUtf8(*path), ToTextModeLineEnds(ResultsFileText(*choice, message, dump)));
  if (!written.ok()) {
    ui.Message(
        W("Não foi possível gravar o arquivo ") + *path + ":\n" + Utf8ToCp1252(written.message()),
        Str(StrId::kReturnMessage), MessageButtons::Ok, MessageIcon::Error);
    return std::nullopt;
  }
  if (!ui.ShellOpen(*path)) {
    ui.Message(W("O arquivo ") + *path + W(" foi gravado, mas não foi possível abri-lo."),
               Str(StrId::kReturnMessage), MessageButtons::Ok, MessageIcon::Exclamation);
  }
  return path;
}

}  // namespace taloven
