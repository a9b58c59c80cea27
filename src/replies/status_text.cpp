#include "replies/status_text.h"

#include <cstdio>
#include <optional>

#include "base/encoding.h"
#include "replies/extended_error_table.h"
#include "resources/strings.h"

namespace taloven {
namespace {

constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;

struct StatusBit {
  const char* text;
  // The printer did not carry the command out: it names a command, a
  // parameter or a limit that stopped it, not a state it merely reports.
  bool refuses;
};

// Bit 7 first, as the texts are listed.
constexpr StatusBit kStatus1Bits[8] = {
    {"\r\nFIM DE PAPEL", false},
    {"\r\nPOUCO PAPEL", false},
    {"\r\nERRO NO RELÓGIO", false},
    {"\r\nIMPRESSORA EM ERRO", false},
    {"\r\nPRIMEIRO DADO DE CMD NÃO FOI ESC ( 1BH)", true},
    {"\r\nCOMANDO INEXISTENTE", true},
    {"\r\nCUPOM ABERTO", false},
    {"\r\nNÚMERO DE PARÂMETROS DE CMD INVÁLIDO", true},
};

constexpr StatusBit kStatus2Bits[8] = {
    {"\r\nTIPO DE PARÂMETRO DE CMD INVÁLIDO", true},
    {"\r\nMEMÓRIA FISCAL LOTADA", false},
    {"\r\nERRO NA MEMÓRIA RAM CMOS NÃO VOLÁTIL", false},
    {"\r\nALÍQUOTA NÃO PROGRAMADA", true},
    {"\r\nCAPACIDADE DE ALÍQUOTAS PROGRAMÁVEIS LOTADA", true},
    {"\r\nCANCELAMENTO NÃO PERMITIDO", true},
    {"\r\nCGC/IE DO PROPRIETÁRIO NÃO PROGRAMADOS", false},
    {"\r\nCOMANDO NÃO EXECUTADO", true},
};

void AppendBitTexts(std::string& out, uint8_t status, const StatusBit (&bits)[8]) {
  for (int bit = 7; bit >= 0; --bit) {
    if (status & (1u << bit)) out += W(bits[7 - bit].text);
  }
}

bool AnyRefusingBit(uint8_t status, const StatusBit (&bits)[8]) {
  for (int bit = 7; bit >= 0; --bit) {
    if ((status & (1u << bit)) && bits[7 - bit].refuses) return true;
  }
  return false;
}

}  // namespace

std::string StatusText(uint8_t status1, uint8_t status2) {
  if (status1 == 0 && status2 == 0) return "COMANDO OK";
  std::string text;
  AppendBitTexts(text, status1, kStatus1Bits);
  AppendBitTexts(text, status2, kStatus2Bits);
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

std::optional<std::string> ReplyRefusal(const std::vector<uint8_t>& reply, size_t statusAt) {
  if (!reply.empty() && reply[0] == kNak) return Str(StrId::kCommandNotReceived);
  if (reply.empty() || reply[0] != kAck || statusAt + 1 >= reply.size()) return std::nullopt;
  const uint8_t status1 = reply[statusAt], status2 = reply[statusAt + 1];
  if (!AnyRefusingBit(status1, kStatus1Bits) && !AnyRefusingBit(status2, kStatus2Bits))
    return std::nullopt;
  // One line: the texts each open with a line break.
  std::string text;
  for (char c : StatusText(status1, status2)) {
    if (c == '\r') continue;
    if (c != '\n') {
      text += c;
    } else if (!text.empty()) {
      text += "; ";
    }
  }
  return text;
}

}  // namespace taloven
