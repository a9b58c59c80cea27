#include <vector>

#include "base/encoding.h"
#include "replies/return_rules.h"

namespace taloven {
namespace {

// Puts the texts into the "%s" slots of a template, in order.
std::string FillSlots(const std::string& pattern, const std::vector<std::string>& texts) {
  std::string out;
  size_t next = 0, from = 0;
  for (size_t slot = pattern.find("%s"); slot != std::string::npos;
       slot = pattern.find("%s", from)) {
    out.append(pattern, from, slot - from);
    if (next < texts.size()) out += texts[next++];
    from = slot + 2;
  }
  out.append(pattern, from, std::string::npos);
  return out;
}

// "\r\n<number>\t\t<text>\r\n", the row of the numbered tables.
std::string NumberedRow(size_t number, const std::string& text) {
  return "\r\n" + std::to_string(number) + "\t\t" + text + "\r\n";
}

// Unsigned 16-bit cell counts, low byte first, in decimal.
std::vector<std::string> CellCounts(const FieldBytes& d, size_t count, bool* anyNotOk) {
  std::vector<std::string> counts;
  *anyNotOk = false;
  for (size_t i = 0; i < count; ++i) {
    const unsigned value = d[2 * i] | (d[2 * i + 1] << 8);
    counts.push_back(std::to_string(value));
    if (i % 3 == 2 && value > 0) *anyNotOk = true;
  }
  return counts;
}

const char* const kCellWarning = "\r\nATENÇÃO: DETECTADAS CÉLULAS NÃO OK\r\n";

}  // namespace

void FormatPaymentForms(const FieldBytes& d, ReturnField&, int32_t, std::string& out) {
  out += W("\r\nDescrição:\t\tValor\t\t\tValor no último cupom\tPermite emissão de TEF\r\n");
  for (size_t k = 0; k < 20; ++k) {
    out += PrinterText(d, 16 * k, 16) + "\t" + MoneyText(d, 320 + 7 * k, 7) + "\t\t" +
           MoneyText(d, 460 + 7 * k, 7) + "\t\t" + YesNo(d[600 + k] == 0x55) + "\r\n";
  }
}

// Each department's 20-byte block holds its 10-character description and
// then its 10-byte value; the quantities follow the twenty blocks.
void FormatDepartments(const FieldBytes& d, ReturnField&, int32_t, std::string& out) {
  out += W("\r\nDescrição:\t\tQuantidade\t\t\tValor\r\n");
  for (size_t k = 0; k < 20; ++k) {
    out += PrinterText(d, 20 * k, 10) + "\t\t" + MoneyText(d, 400 + 10 * k, 10) + "\t\t" +
           MoneyText(d, 20 * k + 10, 10) + "\r\n";
  }
}

void FormatNonIcmsTotals(const FieldBytes& d, ReturnField&, int32_t, std::string& out) {
  for (size_t k = 0; k < 30; ++k)
    out += "\r\n" + PrinterText(d, 19 * k, 19) + ":\t" + MoneyText(d, 570 + 7 * k, 7) + "\r\n";
}

void FormatManagementReports(const FieldBytes& d, ReturnField&, int32_t, std::string& out) {
  for (size_t k = 0; k < 30; ++k)
    out += "\r\n" + BcdDigits(d, 2 * k, 2) + ":\t" + PrinterText(d, 60 + 17 * k, 17) + "\r\n";
}

// The rows follow the command's declared reply size, not the count byte;
// they stop where the field ends.
void FormatTaxRates(const FieldBytes& d, ReturnField&, int32_t returnSize, std::string& out) {
  out += W("\r\nNúmero de alíquotas:\t") + std::to_string(d[0]) + W("\r\nAlíquota\tValor\r\n");
  for (size_t i = 1; static_cast<int64_t>(i) < returnSize && i < d.size; i += 2)
    out += NumberedRow((i + 1) / 2, BcdDigits(d, i, 1) + "," + BcdDigits(d, i + 1, 1));
}

void FormatPartialTotals(const FieldBytes& d, ReturnField&, int32_t, std::string& out) {
  out += "\r\nTotalizadores parciais tributados:\r\nTotalizador\tValor\r\n";
  for (size_t k = 0; k < 16; ++k) out += NumberedRow(k + 1, MoneyText(d, 7 * k, 7));
  out += FillSlots(W("\r\nIsenção:\t\t%s\r\nNão Incidência:\t%s\r\nSubstituição:\t%s\r\n"),
                   {MoneyText(d, 112, 7), MoneyText(d, 119, 7), MoneyText(d, 126, 7)});
  out += W("\r\nTotalizadores parciais não sujeitos ao ICMS:\r\nTotalizador\tValor\r\n");
  for (size_t k = 0; k < 9; ++k) out += NumberedRow(k + 1, MoneyText(d, 133 + 7 * k, 7));
  out += FillSlots("\r\nSangria:\t\t%s\r\nSuprimentos:\t%s\r\nGrande Total:\t%s\r\n",
                   {MoneyText(d, 196, 7), MoneyText(d, 203, 7), MoneyText(d, 210, 9)});
}

void FormatMemoryCheck(const FieldBytes& d, ReturnField&, int32_t, std::string& out) {
  bool anyNotOk = false;
  out += FillSlots(W("\r\nNúmero de células gravadas:\t%s \r\n Número de células ok:\t%s \r\n "
                     "Número de células nok:\t%s \r\n"),
                   CellCounts(d, 3, &anyNotOk));
  if (anyNotOk) out += W(kCellWarning);
}

void FormatFullMemoryCheck(const FieldBytes& d, ReturnField&, int32_t, std::string& out) {
  bool anyNotOk = false;
  out += FillSlots(
      W("\r\nCélulas iniciais:\r\n Células gravadas:\t %s\r\n Células OK:\t %s\r\n Células não "
        "OK:\t %s\r\n"
        "\r\nCélulas de número de serie da MFD:\r\n Células gravadas:\t %s\r\n Células OK:\t "
        "%s\r\n Células não OK:\t %s\r\n"
        "\r\nCélulas de Reducao:\r\n Células gravadas:\t %s\r\n Células OK:\t %s\r\n Células "
        "não OK:\t %s\r\n"
        "\r\nCélulas de leitura da MFD:\r\n Células gravadas:\t %s\r\n Células OK:\t %s\r\n "
        "Células não OK:\t %s\r\n"
        "\r\nCélulas de versão do software básico:\r\n Células gravadas:\t %s\r\n Células "
        "OK:\t%s\r\n Células não OK:\t%s\r\n"),
      CellCounts(d, 15, &anyNotOk));
  if (anyNotOk) out += W(kCellWarning);
}

}  // namespace taloven
