#include "fiscalmem/library_result_text.h"

#include <sys/stat.h>

#include "base/encoding.h"
#include "kovo_mfd.h"

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

std::optional<std::string> OversizedInputText(const std::string& path, uint64_t largest) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || static_cast<uint64_t>(info.st_size) <= largest)
    return std::nullopt;
  return W("O arquivo ") + Utf8ToCp1252(path) + W(" tem ") + std::to_string(info.st_size) +
         W(" bytes, mais do que uma memória baixada da impressora pode ter (até ") +
         std::to_string(largest) + W(" bytes): não foi lido.");
}

std::optional<std::string> BitmapRefusalText(int result) {
  switch (result) {
    case KOVO_BMP_NO_SYMBOL:
      return W("sem símbolo PDF-417");
    case KOVO_BMP_OTHER_SET:
      return W("símbolo de outro conjunto");
    case KOVO_BMP_REPEATED:
      return W("símbolo repetido");
    default:
      return std::nullopt;
  }
}

}  // namespace taloven
