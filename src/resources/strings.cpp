#include "resources/strings.h"

#include <map>
#include <utility>

#include "base/encoding.h"

namespace taloven {
namespace {

// The numbered texts, written in UTF-8 and served in Windows-1252.
constexpr std::pair<StrId, const char*> kTexts[] = {
#define TALOVEN_STRING_TEXT(name, number, text) {StrId::name, text},
    TALOVEN_STRING_TABLE(TALOVEN_STRING_TEXT)
#undef TALOVEN_STRING_TEXT
};

const std::map<StrId, std::string>& Table() {
  static const std::map<StrId, std::string> table = [] {
    std::map<StrId, std::string> built;
    for (const auto& [id, text] : kTexts) built.emplace(id, Utf8ToCp1252(text));
    return built;
  }();
  return table;
}

}  // namespace

const std::string& Str(StrId id) {
  return Table().at(id);
}

const std::string& PartialSymbolSetWarning() {
  static const std::string text = Utf8ToCp1252(
      "Alguns símbolos impressos não foram capturados.\nIsso significa que apenas uma parcela das "
      "informações\nda seção estará disponível para recuperação.\n\n* Clique \"Sim\" para "
      "salvar em arquivo mesmo assim; ou\n");
  return text;
}

}  // namespace taloven
