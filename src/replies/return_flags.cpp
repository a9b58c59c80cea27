#include <string_view>

#include "base/encoding.h"
#include "replies/return_rules.h"
#include "resources/strings.h"

namespace taloven {
namespace {

constexpr const char* kUnusedBit = "-----bit não utilizado----";

struct BitTable {
  std::string_view type;
  const char* heading;
  const char* rows[8];  // bit 0 first
};

const BitTable kBitTables[] = {
    {"ASCII_FLAGS_FISCAIS",
     "\r\nFlags Fiscais:\r\nAtivado?\t\tDescrição\r\n",
     {"Cupom fiscal aberto", "Fechamento de formas de pagamento iniciado", "Horário de verão",
      "Já houve redução Z no dia (ECF Bloqueado)", "Última RZ foi  automática",
      "Permite cancelar cupom fiscal", kUnusedBit, "Memória fiscal sem espaço"}},
    {"ASCII_FLAGS_FISCAIS_II",
     "\r\nFlags Fiscais II:\r\nAtivado?\t\tDescrição\r\n",
     {"Comprovante não fiscal aberto", "Comprovante de débito ou crédito aberto",
      "Relatório Gerencial Aberto", "Totalizando cupom", kUnusedBit, "Permite cancelamento do CNF",
      "Estorno de CDC permitido", kUnusedBit}},
    {"ASCII_FLAGS_FISCAIS_III",
     "\r\nFlags Fiscais III:\r\nAtivado?\t\tDescrição\r\n",
     {"Impressora com pouco papel", "Sensor de pouco papel habilitado",
      "Cancelamento automático de cupom às duas horas habilitado", kUnusedBit, kUnusedBit,
      kUnusedBit, kUnusedBit, kUnusedBit}},
    {"FLAG_SENSORES",
     "\r\nFlags Sensores:\r\nAtivado?\t\tDescrição\r\n",
     {"Cabeça levantada", "Tampa aberta", "Sem papel", "Pouco papel", "Status do sensor da gaveta",
      kUnusedBit, "Tecla PAPER pressionada", "Jumper na posição intervenção tecnica"}},
    {"FLAG_CHEQUE",
     "\r\nFlags do cheque:\r\nAtivado?\t\tDescrição\r\n",
     {"Documento não posicionado", "Sem papel", "Sem papel", kUnusedBit,
      "Status do buffer de impressão ( não liberado?)", "Cabeça de impressão em posição aberta",
      "Buffer vazio", "Buffer cheio"}},
};

struct TwoStateFlag {
  std::string_view type;
  uint8_t reference;
  StrId equalText;
  StrId differentText;
};

constexpr TwoStateFlag kTwoStateFlags[] = {
    {"BCD_FLAG_INT_TEC", 0x55, StrId::kNormalOperation, StrId::kTechnicalIntervention},
    {"BCD_FLAG_EPROM_CONECT", 0x55, StrId::kEpromConnected, StrId::kEpromDisconnected},
    {"FLAG_TRUNCAMENTO", 0x00, StrId::kTruncationOn, StrId::kRoundingOn},
    {"FLAG_CORTE", 0x30, StrId::kNextDocumentCutOn, StrId::kNextDocumentCutOff},
    {"FLAG_ALINHAMENTO", 0x30, StrId::kLeftAlignOn, StrId::kLeftAlignOff},
    {"FLAG_BP_CF", 0x00, StrId::kTravelTicket, StrId::kFiscalCoupon},
    {"FLAG_PRESENTER_GAVETA", 0x00, StrId::kPresenter, StrId::kDrawer},
    {"FLAG_GAVETA", 0x00, StrId::kDrawerSensorLevel0, StrId::kDrawerSensorLevel1},
    {"FLAG_CUTTER_AUTENTIC", 0x00, StrId::kCutter, StrId::kAuthentication},
    {"FLAG_RED_AUT_COM", 0x00, StrId::kZByCommand, StrId::kAutomaticZ},
};

template <typename Table, size_t N>
const Table* FindByType(const Table (&tables)[N], const std::string& type) {
  for (const Table& table : tables) {
    if (table.type == type) return &table;
  }
  return nullptr;
}

}  // namespace

// The text shows the first byte; the value keeps the bits of every byte of
// the field, bit 0 first.
void FormatBitTable(const FieldBytes& d, ReturnField& field, int32_t, std::string& out) {
  const BitTable* table = FindByType(kBitTables, field.type);
  if (table == nullptr) return;
  field.value.clear();
  for (size_t i = 0; i < d.size; ++i) {
    for (int bit = 0; bit < 8; ++bit) field.value += (d[i] >> bit) & 1 ? '1' : '0';
  }
  out += W(table->heading);
  for (int bit = 0; bit < 8; ++bit) {
    out += YesNo((d[0] >> bit) & 1) + "\t\t" + W(table->rows[bit]);
    if (bit < 7) out += "\r\n";
  }
}

void FormatIssBinding(const FieldBytes& d, ReturnField& field, int32_t, std::string& out) {
  const unsigned word = (d[0] << 8) | d[1];
  field.value.clear();
  out += W("\r\nFlags de vinculaçoao ao ISS:\r\nNúmero\t\tVinculado ao ISS?\r\n");
  for (int row = 1; row <= 16; ++row) {
    const bool bound = (word >> (16 - row)) & 1;
    field.value += bound ? '1' : '0';
    out += (row < 10 ? "\r\n " : "\r\n") + std::to_string(row) + "\t\t" + YesNo(bound);
  }
}

void FormatTwoState(const FieldBytes& d, ReturnField& field, int32_t, std::string& out) {
  const TwoStateFlag* flag = FindByType(kTwoStateFlags, field.type);
  if (flag == nullptr) return;
  out += "\r\n" + Str(d[0] == flag->reference ? flag->equalText : flag->differentText) + "\r\n";
}

}  // namespace taloven
