#include "replies/status_text.h"

#include <gtest/gtest.h>

#include "base/encoding.h"

namespace taloven {
namespace {

struct BitCase {
  uint8_t status1, status2;
  const char* text;  // UTF-8
};

TEST(StatusText, EachBitHasItsOwnText) {
  const BitCase cases[] = {
      {0x80, 0, "\r\nFIM DE PAPEL"},
      {0x40, 0, "\r\nPOUCO PAPEL"},
      {0x20, 0, "\r\nERRO NO RELÓGIO"},
      {0x10, 0, "\r\nIMPRESSORA EM ERRO"},
      {0x08, 0, "\r\nPRIMEIRO DADO DE CMD NÃO FOI ESC ( 1BH)"},
      {0x04, 0, "\r\nCOMANDO INEXISTENTE"},
      {0x02, 0, "\r\nCUPOM ABERTO"},
      {0x01, 0, "\r\nNÚMERO DE PARÂMETROS DE CMD INVÁLIDO"},
      {0, 0x80, "\r\nTIPO DE PARÂMETRO DE CMD INVÁLIDO"},
      {0, 0x40, "\r\nMEMÓRIA FISCAL LOTADA"},
      {0, 0x20, "\r\nERRO NA MEMÓRIA RAM CMOS NÃO VOLÁTIL"},
      {0, 0x10, "\r\nALÍQUOTA NÃO PROGRAMADA"},
      {0, 0x08, "\r\nCAPACIDADE DE ALÍQUOTAS PROGRAMÁVEIS LOTADA"},
      {0, 0x04, "\r\nCANCELAMENTO NÃO PERMITIDO"},
      {0, 0x02, "\r\nCGC/IE DO PROPRIETÁRIO NÃO PROGRAMADOS"},
      {0, 0x01, "\r\nCOMANDO NÃO EXECUTADO"},
  };
  std::string all;
  for (const auto& c : cases) {
    EXPECT_EQ(StatusText(c.status1, c.status2), W(c.text))
        << int(c.status1) << " " << int(c.status2);
    all += W(c.text);
  }
  // Every bit set gives all sixteen, status byte 1 first, bit 7 down.
  EXPECT_EQ(StatusText(0xFF, 0xFF), all);
}

TEST(StatusText, CombinationsKeepBitOrder) {
  EXPECT_EQ(StatusText(0, 0), "COMANDO OK");
  EXPECT_EQ(StatusText(0x0F, 0),
            W("\r\nPRIMEIRO DADO DE CMD NÃO FOI ESC ( 1BH)\r\nCOMANDO INEXISTENTE\r\nCUPOM "
              "ABERTO\r\nNÚMERO DE PARÂMETROS DE CMD INVÁLIDO"));
  EXPECT_EQ(StatusText(0, 0x18),
            W("\r\nALÍQUOTA NÃO PROGRAMADA\r\nCAPACIDADE DE ALÍQUOTAS PROGRAMÁVEIS LOTADA"));
  EXPECT_EQ(StatusText(0x01, 0x80),
            W("\r\nNÚMERO DE PARÂMETROS DE CMD INVÁLIDO\r\nTIPO DE PARÂMETRO DE CMD INVÁLIDO"));
}

TEST(ExtendedErrorText, CodesFromBothBytes) {
  const struct {
    uint8_t low, high;
    const char* text;
  } cases[] = {
      {0x00, 0x00, "\r\nCOMANDO OK\r\n"},
      {0x01, 0x00, "\r\nCOMANDO INVÁLIDO"},
      {0x38, 0x00, "\r\nERRO DE ALOCAÇÃO"},
      {0x40, 0x00, "\r\n FP ABERTA"},
      {0x6E, 0x00, "\r\nERRO NA INICIALIZAÇÃO DA MF"},
      {0xD5, 0x00, "\r\nRETORNO CRC DO CLICHE GRAFICO DIFERENTE DO INFORMADO"},
      {0xD6, 0x00, ""},
      {0x01, 0x01, ""},
      {0xFF, 0xFF, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExtendedErrorText(c.low, c.high), W(c.text)) << int(c.low) << " " << int(c.high);
}

TEST(ExtendedErrorText, EveryTabledCodeHasOneLineOfText) {
  for (int code = 1; code <= 213; ++code) {
    const std::string text = ExtendedErrorText(static_cast<uint8_t>(code), 0);
    ASSERT_GT(text.size(), 3u) << code;
    EXPECT_EQ(text.substr(0, 2), "\r\n") << code;
    EXPECT_EQ(text.find_first_of("\r\n", 2), std::string::npos) << code;
    EXPECT_EQ(text.find('?'), std::string::npos) << code << ": unconverted character";
  }
}

TEST(ReplyVerdict, JudgesTheFirstByte) {
  const struct {
    std::vector<uint8_t> reply;
    bool extended;
    const char* text;
  } cases[] = {
      {{0x06, 0x00, 0x00}, false, "\r\nCOMANDO OK"},
      {{0x06, 0x00, 0x00, 0x00, 0x00}, true, "\r\nCOMANDO OK\r\nCOMANDO OK\r\n"},
      {{0x06, 0x02, 0x00, 0x40, 0x00}, true, "\r\n\r\nCUPOM ABERTO\r\n FP ABERTA"},
      {{0x15, 0x00, 0x00}, false, "\r\nCOMANDO NÃO RECEBIDO"},
      {{0x15, 0x00, 0x00, 0x00, 0x00}, true, "\r\nFalha no envio do comando"},
      {{0x15}, true, "\r\nFalha no envio do comando"},
      {{0x41, 0x00, 0x00}, false, "\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplyVerdict(c.reply, 0, c.extended), W(c.text));
}

TEST(ReplyVerdict, StatusBytesFollowTheData) {
  EXPECT_EQ(ReplyVerdict({0x06, 0xAA, 0xBB, 0x00, 0x01}, 2, false),
            W("\r\n\r\nCOMANDO NÃO EXECUTADO"));
}

TEST(ReplyVerdict, ShortReplyIsNotedAndMissingStatusIsNotInvented) {
  EXPECT_EQ(ReplyVerdict({0x06, 0x12}, 4, false),
            "\r\n\r\nRetorno incompleto: 2 de 7 bytes recebidos\r\n");
  EXPECT_EQ(ReplyVerdict({}, 0, true), "\r\n\r\nRetorno incompleto: 0 de 5 bytes recebidos\r\n");
  // Status present, extended bytes missing.
  EXPECT_EQ(ReplyVerdict({0x06, 0x00, 0x00}, 0, true),
            "\r\nCOMANDO OK\r\nRetorno incompleto: 3 de 5 bytes recebidos\r\n");
}

}  // namespace
}  // namespace taloven
