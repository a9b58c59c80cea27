#include "replies/return_format.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/encoding.h"

namespace taloven {
namespace {

ReturnField Field(const std::string& type, int size, const std::string& title = "Campo") {
  ReturnField field;
  field.type = type;
  field.size = size;
  field.title = title;
  return field;
}

// A clean ACK reply around the data, formatted.
CommandRecord Formatted(std::vector<ReturnField> fields, const std::vector<uint8_t>& data,
                        int returnSize = -1) {
  CommandRecord record;
  record.returnFields = std::move(fields);
  record.returnSize = returnSize >= 0 ? returnSize : static_cast<int>(data.size());
  record.replyBytes = {0x06};
  record.replyBytes.insert(record.replyBytes.end(), data.begin(), data.end());
  record.replyBytes.insert(record.replyBytes.end(), {0x00, 0x00});
  EXPECT_EQ(FormatReturnData(record, false), 0);
  return record;
}

// The text after the verdict of a clean reply.
std::string FieldText(const CommandRecord& record) {
  const std::string verdict = "\r\nCOMANDO OK";
  EXPECT_EQ(record.formattedReturn.substr(0, verdict.size()), verdict);
  return record.formattedReturn.substr(verdict.size());
}

struct SingleCase {
  const char* type;
  std::vector<uint8_t> data;
  const char* text;   // UTF-8
  const char* value;  // UTF-8; nullptr: none stored
};

TEST(FormatReturnData, SingleValues) {
  const SingleCase cases[] = {
      {"ASCII", {'A', 0x0A, 0x87}, "\r\nCampo:\tA\r\nç\r\n", "A\r\nç"},
      {"ASCII", {'A', 0x00, 'B'}, "\r\nCampo:\tA\r\n", "A"},
      {"BCD_INTEGER", {0x12, 0x3A}, "\r\nCampo:\t123:\r\n", "123:"},
      {"BCD_PERCENTAGE", {0x17, 0x50}, "\r\nCampo:\t17,50%\r\n", "1750"},
      {"BCD_FINANCE",
       {0x00, 0x00, 0x00, 0x00, 0x12, 0x34, 0x56},
       "\r\nCampo:\t000000001234,56\r\n",
       "00000000123456"},
      {"BCD_FINANCE", {0x25}, "\r\nCampo:\t,25\r\n", "25"},
      {"BCD_DATA", {0x07, 0x12, 0x06}, "\r\nData: 07/12/06\r\n", "071206"},
      {"BCD_HORA", {0x23, 0x59, 0x01}, "\r\nHora: 23:59:01\r\n", "235901"},
      {"STATUS_PAPEL", {0x34, 0x12}, "\r\nCampo\t\t4660\r\n", "4660"},
      {"INTEGER", {0xFE}, "\r\nCampo\t\t254\r\n", "254"},
      {"INTEGER", {0x01, 0x02}, "\r\nCampo\t\t1\r\n\r\nCampo\t\t2\r\n", "1 2"},
      {"BCD_FLAG_PAYMENT_MODE", {'0', '7'}, "\r\nForma de pagamento nº 7 programada\r\n", nullptr},
      {"BCD_FLAG_PAYMENT_MODE",
       {'2', '5', '5'},
       "\r\nNão foi possível inserir esta forma de pagamento.\r\n",
       nullptr},
      {"BCD_FLAG_PAYMENT_MODE", {' ', 'x'}, "\r\nForma de pagamento nº 0 programada\r\n", nullptr},
      {"FLAG_CORTE", {0x30}, "\r\nCorte do próximo documento ativado\r\n", nullptr},
      {"FLAG_CORTE", {0x00}, "\r\nCorte do próximo documento desativado\r\n", nullptr},
      {"BCD_FLAG_INT_TEC", {0x55}, "\r\nEquipamento em modo de operação normal\r\n", nullptr},
      {"BCD_FLAG_INT_TEC", {0x00}, "\r\nEquipamento em intervenção técnica\r\n", nullptr},
      {"BCD_FLAG_EPROM_CONECT", {0x54}, "\r\nEPROM desconectada\r\n", nullptr},
      {"FLAG_TRUNCAMENTO", {0x00}, "\r\nTruncamento ativado\r\n", nullptr},
      {"FLAG_ALINHAMENTO", {0x31}, "\r\nAlinhamento à esquerda desativado\r\n", nullptr},
      {"FLAG_BP_CF", {0x01}, "\r\nCupom Fiscal\r\n", nullptr},
      {"FLAG_PRESENTER_GAVETA", {0x00}, "\r\nPresenter\r\n", nullptr},
      {"FLAG_GAVETA", {0x01}, "\r\nSensor de gaveta nível 1.\r\n", nullptr},
      {"FLAG_CUTTER_AUTENTIC", {0x01}, "\r\nAutenticação\r\n", nullptr},
      {"FLAG_RED_AUT_COM", {0x00}, "\r\nRZ Por comando\r\n", nullptr},
  };
  for (const auto& c : cases) {
    std::vector<ReturnField> fields = {Field(c.type, static_cast<int>(c.data.size()))};
    fields[0].value = "old";
    const CommandRecord record = Formatted(fields, c.data);
    EXPECT_EQ(FieldText(record), W(c.text)) << c.type;
    EXPECT_EQ(record.returnFields[0].value, c.value ? W(c.value) : "old") << c.type;
  }
}

TEST(FormatReturnData, BitTableShowsTheFirstByteAndStoresEveryBit) {
  const CommandRecord record = Formatted({Field("ASCII_FLAGS_FISCAIS", 2)}, {0x05, 0x80});
  EXPECT_EQ(FieldText(record), W("\r\nFlags Fiscais:\r\nAtivado?\t\tDescrição\r\n"
                                 "sim\t\tCupom fiscal aberto\r\n"
                                 "não\t\tFechamento de formas de pagamento iniciado\r\n"
                                 "sim\t\tHorário de verão\r\n"
                                 "não\t\tJá houve redução Z no dia (ECF Bloqueado)\r\n"
                                 "não\t\tÚltima RZ foi  automática\r\n"
                                 "não\t\tPermite cancelar cupom fiscal\r\n"
                                 "não\t\t-----bit não utilizado----\r\n"
                                 "não\t\tMemória fiscal sem espaço"));
  EXPECT_EQ(record.returnFields[0].value, "1010000000000001");
}

TEST(FormatReturnData, EveryBitTableHasItsHeadingAndEightRows) {
  const struct {
    const char* type;
    const char* heading;
    const char* lastRow;
  } cases[] = {
      {"ASCII_FLAGS_FISCAIS_II", "Flags Fiscais II:", "-----bit não utilizado----"},
      {"ASCII_FLAGS_FISCAIS_III", "Flags Fiscais III:", "-----bit não utilizado----"},
      {"FLAG_SENSORES", "Flags Sensores:", "Jumper na posição intervenção tecnica"},
      {"FLAG_CHEQUE", "Flags do cheque:", "Buffer cheio"},
  };
  for (const auto& c : cases) {
    const CommandRecord record = Formatted({Field(c.type, 1)}, {0x80});
    const std::string text = FieldText(record);
    EXPECT_EQ(text.find(W(std::string("\r\n") + c.heading + "\r\nAtivado?\t\tDescrição\r\n")), 0u)
        << c.type;
    const std::string last = W(std::string("sim\t\t") + c.lastRow);
    EXPECT_EQ(text.substr(text.size() - last.size()), last) << c.type;
    EXPECT_EQ(record.returnFields[0].value, "00000001") << c.type;
  }
}

TEST(FormatReturnData, IssBindingRowsFollowTheBigEndianWord) {
  const CommandRecord record = Formatted({Field("ASCII_FLAG_VINC_ISS", 2)}, {0x80, 0x01});
  std::string expected = W("\r\nFlags de vinculaçoao ao ISS:\r\nNúmero\t\tVinculado ao ISS?\r\n");
  for (int row = 1; row <= 16; ++row) {
    char line[32];
    std::snprintf(line, sizeof line, "\r\n%2d\t\t", row);
    expected += line + W(row == 1 || row == 16 ? "sim" : "não");
  }
  EXPECT_EQ(FieldText(record), expected);
  EXPECT_EQ(record.returnFields[0].value, "1000000000000001");
}

std::vector<uint8_t> Put(std::vector<uint8_t> data, size_t at, const std::vector<uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(), data.begin() + at);
  return data;
}

std::vector<uint8_t> Text(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(FormatReturnData, PaymentForms) {
  std::vector<uint8_t> data(620, 0);
  data = Put(data, 0, Text("Dinheiro\x87       "));
  data = Put(data, 320, {0, 0, 0, 0, 0, 0x12, 0x34});
  data = Put(data, 460, {0, 0, 0, 0, 0, 0x05, 0x00});
  data[600] = 'U';
  const std::string text = FieldText(Formatted({Field("FORMAS_DE_PAGAMENTO", 620)}, data));
  const std::string heading =
      W("\r\nDescrição:\t\tValor\t\t\tValor no último cupom\tPermite emissão de TEF\r\n");
  const std::string first = W("Dinheiroç       \t000000000012,34\t\t000000000005,00\t\tsim\r\n");
  const std::string other = W("\t000000000000,00\t\t000000000000,00\t\tnão\r\n");
  std::string expected = heading + first;
  for (int k = 1; k < 20; ++k) expected += other;
  EXPECT_EQ(text, expected);
}

TEST(FormatReturnData, DepartmentsTakeDescriptionThenValueFromEachBlock) {
  std::vector<uint8_t> data(600, 0);
  data = Put(data, 20, Text("Bebidas   "));
  data = Put(data, 30, {0, 0, 0, 0, 0, 0, 0, 0, 0x99, 0x01});
  data = Put(data, 410, {0, 0, 0, 0, 0, 0, 0, 0, 0x03, 0x00});
  const std::string text = FieldText(Formatted({Field("DEPARTAMENTOS", 600)}, data));
  const std::string zero = "000000000000000000,00";
  const std::string empty = "\t\t" + zero + "\t\t" + zero + "\r\n";
  EXPECT_EQ(
      text, W("\r\nDescrição:\t\tQuantidade\t\t\tValor\r\n") + empty +
                "Bebidas   \t\t000000000000000003,00\t\t000000000000000099,01\r\n" + [&] {
                  std::string rest;
                  for (int k = 2; k < 20; ++k) rest += empty;
                  return rest;
                }());
}

TEST(FormatReturnData, NonIcmsTotalsAndManagementReports) {
  std::vector<uint8_t> totals(780, 0);
  totals = Put(totals, 19, Text("Conta de luz"));
  totals = Put(totals, 577, {0, 0, 0, 0, 0, 0x10, 0x00});
  const std::string totalsText = FieldText(Formatted({Field("TOT_NAO_SUJ_ICMS", 780)}, totals));
  EXPECT_EQ(totalsText.find("\r\n:\t000000000000,00\r\n\r\nConta de luz:\t000000000010,00\r\n"),
            0u);
  EXPECT_EQ(std::count(totalsText.begin(), totalsText.end(), ','), 30);

  std::vector<uint8_t> reports(570, 0);
  reports = Put(reports, 2, {0x01, 0x23});
  reports = Put(reports, 77, Text("Sangrias"));
  const std::string reportText = FieldText(Formatted({Field("RELAT_GER", 570)}, reports));
  EXPECT_EQ(reportText.find("\r\n0000:\t\r\n\r\n0123:\tSangrias\r\n"), 0u);
  EXPECT_EQ(std::count(reportText.begin(), reportText.end(), '\t'), 30);
}

TEST(FormatReturnData, TaxRateRowsFollowTheDeclaredReplySize) {
  std::vector<uint8_t> data(33, 0);
  data[0] = 2;
  data = Put(data, 1, {0x18, 0x00, 0x07, 0x50});
  const std::string text = FieldText(Formatted({Field("ALIQUOTAS", 33)}, data, 33));
  std::string expected = W("\r\nNúmero de alíquotas:\t2\r\nAlíquota\tValor\r\n") +
                         "\r\n1\t\t18,00\r\n\r\n2\t\t07,50\r\n";
  for (int row = 3; row <= 16; ++row) expected += "\r\n" + std::to_string(row) + "\t\t00,00\r\n";
  EXPECT_EQ(text, expected);

  // A declared reply size beyond the field stops at the field's end.
  const std::string capped = FieldText(Formatted({Field("ALIQUOTAS", 5)}, {1, 0x18, 0, 0, 0}, 900));
  EXPECT_EQ(capped, W("\r\nNúmero de alíquotas:\t1\r\nAlíquota\tValor\r\n") +
                        "\r\n1\t\t18,00\r\n\r\n2\t\t00,00\r\n");
}

TEST(FormatReturnData, PartialTotals) {
  std::vector<uint8_t> data(219, 0);
  data = Put(data, 0, {0, 0, 0, 0, 0, 0x01, 0x00});
  data = Put(data, 126, {0, 0, 0, 0, 0, 0x02, 0x00});
  data = Put(data, 210, {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34, 0x56, 0x78});
  const std::string text = FieldText(Formatted({Field("TOT_PARCIAIS", 219)}, data));
  const std::string zero = "000000000000,00";
  std::string expected = "\r\nTotalizadores parciais tributados:\r\nTotalizador\tValor\r\n";
  expected += "\r\n1\t\t000000000001,00\r\n";
  for (int k = 2; k <= 16; ++k) expected += "\r\n" + std::to_string(k) + "\t\t" + zero + "\r\n";
  expected += W("\r\nIsenção:\t\t" + zero + "\r\nNão Incidência:\t" + zero +
                "\r\nSubstituição:\t000000000002,00\r\n");
  expected += W("\r\nTotalizadores parciais não sujeitos ao ICMS:\r\nTotalizador\tValor\r\n");
  for (int k = 1; k <= 9; ++k) expected += "\r\n" + std::to_string(k) + "\t\t" + zero + "\r\n";
  expected += "\r\nSangria:\t\t" + zero + "\r\nSuprimentos:\t" + zero +
              "\r\nGrande Total:\t1234567890123456,78\r\n";
  EXPECT_EQ(text, expected);
}

TEST(FormatReturnData, MemoryCellChecksWarnOnlyForCellsNotOk) {
  const std::string warning = W("\r\nATENÇÃO: DETECTADAS CÉLULAS NÃO OK\r\n");
  const std::string good =
      FieldText(Formatted({Field("VER_INT_MEM_FISCAL", 6)}, {10, 0, 10, 0, 0, 0}));
  EXPECT_EQ(good, W("\r\nNúmero de células gravadas:\t10 \r\n Número de células ok:\t10 \r\n "
                    "Número de células nok:\t0 \r\n"));
  const std::string bad =
      FieldText(Formatted({Field("VER_INT_MEM_FISCAL", 6)}, {10, 0, 9, 0, 1, 0}));
  EXPECT_EQ(bad.substr(bad.size() - warning.size()), warning);

  std::vector<uint8_t> counts(30, 0);
  counts = Put(counts, 24, {0x2C, 0x01, 0x2B, 0x01});  // 300 written, 299 ok
  counts[28] = 1;
  const std::string full = FieldText(Formatted({Field("VER_INT_MEM_FISCAL_COMP", 30)}, counts));
  const std::string tail =
      W("\r\nCélulas de versão do software básico:\r\n Células gravadas:\t 300\r\n Células "
        "OK:\t299\r\n Células não OK:\t1\r\n") +
      warning;
  EXPECT_EQ(full.substr(full.size() - tail.size()), tail);
  EXPECT_EQ(full.find(warning), full.size() - warning.size()) << "warning given once";
  EXPECT_EQ(full.find(W("\r\nCélulas iniciais:\r\n Células gravadas:\t 0\r\n")), 0u);
}

TEST(FormatReturnData, FieldsReadBackToBack) {
  const CommandRecord record = Formatted(
      {Field("BCD_INTEGER", 1, "A"), Field("UNKNOWN_TYPE", 5, "X"), Field("BCD_INTEGER", 2, "B")},
      {0x01, 0x23, 0x45, 0, 0, 0, 0, 0});
  // The unknown type takes no room among the data (B reads the bytes right
  // after A), though its size still counts where the status bytes lie.
  EXPECT_EQ(FieldText(record), "\r\nA:\t01\r\n\r\nB:\t2345\r\n");
  EXPECT_EQ(record.returnFields[1].value, "");
}

TEST(FormatReturnData, ExtendedVerdictPrecedesTheFields) {
  CommandRecord record;
  record.returnFields = {Field("BCD_INTEGER", 1)};
  record.replyBytes = {0x06, 0x42, 0x00, 0x00, 0x40, 0x00};
  FormatReturnData(record, true);
  EXPECT_EQ(record.formattedReturn, "\r\nCOMANDO OK\r\n FP ABERTA\r\nCampo:\t42\r\n");
}

TEST(FormatReturnData, ShortRepliesAndWrongSizesNeverReadOutside) {
  // More declared fields than reply: the fields past the end are left out
  // and lose their stale values.
  CommandRecord record;
  record.returnFields = {Field("BCD_INTEGER", 2, "A"), Field("TOT_PARCIAIS", 219, "T"),
                         Field("BCD_FINANCE", 7, "F")};
  record.returnFields[2].value = "stale";
  record.replyBytes = {0x06, 0x12, 0x34, 0x00};
  FormatReturnData(record, false);
  EXPECT_EQ(record.formattedReturn,
            "\r\n\r\nRetorno incompleto: 4 de 231 bytes recebidos\r\n\r\nA:\t1234\r\n");
  EXPECT_EQ(record.returnFields[2].value, "");

  // Fields smaller than their layout read zeros, not their neighbours.
  const CommandRecord small =
      Formatted({Field("BCD_DATA", 2), Field("BCD_INTEGER", 1, "N")}, {0x07, 0x12, 0x99});
  EXPECT_EQ(FieldText(small), "\r\nData: 07/12/00\r\n\r\nN:\t99\r\n");

  // Negative and zero sizes take no room.
  const CommandRecord odd = Formatted(
      {Field("FORMAS_DE_PAGAMENTO", -5), Field("ASCII", 0, "Z"), Field("BCD_INTEGER", 1, "N")},
      {0x31});
  EXPECT_NE(FieldText(odd).find("\r\nZ:\t\r\n\r\nN:\t31\r\n"), std::string::npos);

  // An empty reply gives the note and nothing else.
  CommandRecord empty;
  empty.returnFields = {Field("ASCII", 3)};
  FormatReturnData(empty, true);
  EXPECT_EQ(empty.formattedReturn, "\r\n\r\nRetorno incompleto: 0 de 8 bytes recebidos\r\n");
}

TEST(FormatReturnData, AnySizeAgainstAnyReplyLengthStaysInside) {
  const char* types[] = {"ASCII",
                         "BCD_FLAG_PAYMENT_MODE",
                         "INTEGER",
                         "BCD_INTEGER",
                         "BCD_PERCENTAGE",
                         "BCD_FINANCE",
                         "BCD_DATA",
                         "BCD_HORA",
                         "STATUS_PAPEL",
                         "FLAG_CHEQUE",
                         "ASCII_FLAG_VINC_ISS",
                         "FLAG_GAVETA",
                         "FORMAS_DE_PAGAMENTO",
                         "DEPARTAMENTOS",
                         "TOT_NAO_SUJ_ICMS",
                         "RELAT_GER",
                         "ALIQUOTAS",
                         "TOT_PARCIAIS",
                         "VER_INT_MEM_FISCAL",
                         "VER_INT_MEM_FISCAL_COMP"};
  for (const char* type : types) {
    for (int size : {0, 1, 2, 3, 7}) {
      for (size_t length : {0, 1, 3, 6, 12}) {
        CommandRecord record;
        record.returnFields = {Field(type, size), Field(type, size)};
        record.returnSize = 700;
        record.replyBytes.assign(length, 0x9A);
        if (length > 0) record.replyBytes[0] = 0x06;
        EXPECT_EQ(FormatReturnData(record, length % 2 == 0), 0) << type;
      }
    }
  }
}

TEST(FormatReturnData, AppendsToWhatIsThere) {
  CommandRecord record;
  record.formattedReturn = "\r\nComando:\tX\r\n";
  record.replyBytes = {0x15, 0x00, 0x00};
  FormatReturnData(record, false);
  EXPECT_EQ(record.formattedReturn, W("\r\nComando:\tX\r\n\r\nCOMANDO NÃO RECEBIDO"));
}

}  // namespace
}  // namespace taloven
