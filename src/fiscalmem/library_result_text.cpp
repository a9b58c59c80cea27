#include "fiscalmem/library_result_text.h"

#include "base/encoding.h"

namespace taloven {

std::optional<std::string> LibraryResultText(int result) {
  switch (result) {
    case 2:
      return W("Arquivo mfd sem número de série.");
    case 3:
      return W("Data inválida.");
    case 4:
      return W("Não foi possível abrir o arquivo .txt");
    case 5:
      return W("Não foi possível abrir o arquivo .mdb");
    case 6:
      return W("Arquivos sem dados válidos.");
    case 7:
      return W("Comando não executado.");
    default:
      return std::nullopt;
  }
}

std::string SkippedRecordsText(long long records, long long bytes) {
  return W("Documentos danificados ignorados: ") + std::to_string(records) + " (" +
         std::to_string(bytes) + W(" bytes); o resultado não os contém.");
}

std::string SkippedBlocksText(long long blocks) {
  return W("Blocos danificados ignorados: ") + std::to_string(blocks) +
         W("; o relatório não contém as reduções deles.");
}

std::string OutputNotWrittenText(const std::string& path, const std::string& reason) {
  return W("Não foi possível gravar o arquivo ") + path + ": " + reason;
}

}  // namespace taloven
