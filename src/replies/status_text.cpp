#include "replies/status_text.h"

#include <cstdio>

#include "base/encoding.h"
#include "replies/extended_error_table.h"
#include "resources/strings.h"

namespace taloven {
namespace {

constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;

// Bit 7 first, as the texts are listed.
const char* const kStatus1Texts[8] = {
    "\r\nFIM DE PAPEL",
    "\r\nPOUCO PAPEL",
    "\r\nERRO NO RELÓGIO",
    "\r\nIMPRESSORA EM ERRO",
    "\r\nPRIMEIRO DADO DE CMD NÃO FOI ESC ( 1BH)",
    "\r\nCOMANDO INEXISTENTE",
    "\r\nCUPOM ABERTO",
    "\r\nNÚMERO DE PARÂMETROS DE CMD INVÁLIDO",
};

const char* const kStatus2Texts[8] = {
    "\r\nTIPO DE PARÂMETRO DE CMD INVÁLIDO",           "\r\nMEMÓRIA FISCAL LOTADA",
    "\r\nERRO NA MEMÓRIA RAM CMOS NÃO VOLÁTIL",        "\r\nALÍQUOTA NÃO PROGRAMADA",
    "\r\nCAPACIDADE DE ALÍQUOTAS PROGRAMÁVEIS LOTADA", "\r\nCANCELAMENTO NÃO PERMITIDO",
    "\r\nCGC/IE DO PROPRIETÁRIO NÃO PROGRAMADOS",      "\r\nCOMANDO NÃO EXECUTADO",
};

void AppendBitTexts(std::string& out, uint8_t status, const char* const (&texts)[8]) {
  for (int bit = 7; bit >= 0; --bit) {
    if (status & (1u << bit)) out += W(texts[7 - bit]);
  }
}

}  // namespace

std::string StatusText(uint8_t status1, uint8_t status2) {
  if (status1 == 0 && status2 == 0) return "COMANDO OK";
  std::string text;
  AppendBitTexts(text, status1, kStatus1Texts);
  AppendBitTexts(text, status2, kStatus2Texts);
  return text;
}

std::string ExtendedErrorText(uint8_t low, uint8_t high) {
  const int code = high * 256 + low;
  if (code == 0) return "\r\nCOMANDO OK\r\n";
  if (code > kExtendedErrorCount) return "";
  return "\r\n" + W(kExtendedErrorTexts[code - 1]);
}

std::string ReplyVerdict(const std::vector<uint8_t>& reply, size_t dataSize, bool extendedReturn) {
  std::string text = "\r\n";
  const size_t status1 = dataSize + 1;
  const size_t extendedLow = dataSize + 3;
  if (!reply.empty() && reply[0] == kAck) {
    if (status1 + 1 < reply.size()) text += StatusText(reply[status1], reply[status1 + 1]);
    if (extendedReturn && extendedLow + 1 < reply.size())
      text += ExtendedErrorText(reply[extendedLow], reply[extendedLow + 1]);
  } else if (!reply.empty() && reply[0] == kNak) {
    text += Str(extendedReturn ? StrId::kSendFailed : StrId::kCommandNotReceived);
  }

  // A refusal carries no data, so only other replies can come up short.
  const size_t expected = dataSize + (extendedReturn ? 5 : 3);
  const bool refused = !reply.empty() && reply[0] == kNak;
  if (!refused && reply.size() < expected) {
    char note[96];
    std::snprintf(note, sizeof note, "\r\nRetorno incompleto: %zu de %zu bytes recebidos\r\n",
                  reply.size(), expected);
    text += note;
  }
  return text;
}

}  // namespace taloven
