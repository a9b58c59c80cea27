#include "sequences/reading_parser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "base/encoding.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

// A printer line: the label, then the value right-aligned in 48 columns.
std::string Row(const std::string& label, const std::string& value) {
  const size_t used = label.size() + value.size();
  return label + std::string(used < 48 ? 48 - used : 1, ' ') + value + "\r\n";
}

// Test texts are written in UTF-8 and read as the printer's results text.
std::string Reading(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line;
  return W(text);
}

std::string Line(const std::string& text) {
  return text + "\r\n";
}

const std::string kNonFiscalRule = Line("-----------TOTALIZADORES NÃO FISCAIS------------");
const std::string kNonFiscalHeader = Line("Nº Operação             CON Valor Acumulado");
const std::string kPaymentRule = Line("---------------MEIOS DE PAGAMENTO---------------");
const std::string kPaymentHeader = Line("Nº   Meio Pagamento        Valor Acumulado");

std::string Lines(int count, const std::function<std::string(int)>& line) {
  std::string text;
  for (int k = 1; k <= count; ++k) text += line(k);
  return text;
}

struct Case {
  const char* what;
  std::string text;
  std::function<void(const TotalsReading&)> check;
};

TEST(ParseReading, EachRuleOfTheReading) {
  const std::vector<Case> cases = {
      {"amount with thousands", Reading({Row("TOTALIZADOR GERAL:", "1.234,56")}),
       [](const TotalsReading& r) { EXPECT_EQ(r.grandTotal, 123456); }},
      {"amounts wider than their 12 columns are read whole",
       Reading({Row("VENDA BRUTA DIÁRIA:", "98.765.432.101,99"),
                Row("CANCELAMENTO ICMS:", "-12.345.678,90")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.grossDailySales, 9876543210199);
         EXPECT_EQ(r.icmsCancellations, -1234567890);
       }},
      {"every counter in its width",
       Reading({Row("Contador de Reduções Z:", "987654"),
                Row("Contador de Reinício de Operação:", "987654"),
                Row("Geral de Operação Não Fiscal:", "87654321"),
                Row("Comprovante de Crédito ou Débito:", "987654"),
                Row("Geral Oper. Não-Fiscal Canc.:", "987654"),
                Row("Geral de Relatório Gerencial:", "87654321"),
                Row("Contador de Cupom Fiscal:", "87654321"),
                Row("Cupom Fiscal Cancelado:", "987654"),
                Row("Contador de Fita-Detalhe:", "87654321")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.reductionCount, 7654);
         EXPECT_EQ(r.restartCount, 654);
         EXPECT_EQ(r.nonFiscalOperations, 654321);
         EXPECT_EQ(r.creditDebitReceiptCount, 7654);
         EXPECT_EQ(r.cancelledNonFiscalCount, 7654);
         EXPECT_EQ(r.managementReportCount, 654321);
         EXPECT_EQ(r.fiscalCouponCount, 654321);
         EXPECT_EQ(r.cancelledFiscalCouponCount, 7654);
         EXPECT_EQ(r.journalCount, 654321);
       }},
      {"amounts under either of their labels",
       Reading({Row("DESCONTO ICMS", "1,01"), Row("DESCONTO ISSQN:", "2,02"),
                Row("ACRÉSCIMO ISS:", "3,03"), Row("F1 = ", "4,04"), Row("I1 = ", "5,05"),
                Row("N1 = ", "6,06"), Row("FS1 = ", "7,07"), Row("IS1 = ", "8,08"),
                Row("NS1 = ", "9,09"), Row("Total de ISSQN:", "10,10")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.icmsDiscounts, 101);
         EXPECT_EQ(r.issqnDiscounts, 202);
         EXPECT_EQ(r.issqnSurcharges, 303);
         EXPECT_EQ(r.icmsTaxSubstitution, 404);
         EXPECT_EQ(r.icmsExempt, 505);
         EXPECT_EQ(r.icmsNonIncidence, 606);
         EXPECT_EQ(r.issqnTaxSubstitution, 707);
         EXPECT_EQ(r.issqnExempt, 808);
         EXPECT_EQ(r.issqnNonIncidence, 909);
         EXPECT_EQ(r.issqnTotal, 1010);
       }},
      {"ICMS table with its header: the base after the rate, a row without one keeps its slot",
       Reading({Line("----------------------ICMS----------------------"),
                Row("Totalizador Base Cálculo", "Imposto"),
                Row("01T 18,00%                1.000,00", "180,00"), Line("02T      sem alíquota"),
                Row("03T 7,00%                    10,50", "0,73"), Row("Total ICMS:", "1.010,50"),
                Row("Isento ICMS:", "2,00")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.icmsTotalizers[0], 100000);
         EXPECT_EQ(r.icmsTotalizers[1], 0);
         EXPECT_EQ(r.icmsTotalizers[2], 1050);
         EXPECT_EQ(r.totalIcms, 101050);
         EXPECT_EQ(r.icmsExempt, 200);  // the line after the table is still read
       }},
      {"ICMS table without its header is not read as one",
       Reading({Line("----------------------ICMS----------------------"),
                Row("01T 18,00%                1.000,00", "180,00"), Row("Total ICMS:", "5,00")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.icmsTotalizers[0], 0);
         EXPECT_EQ(r.totalIcms, 0);
       }},
      {"ISSQN table",
       Reading({Line("---------------------ISSQN----------------------"),
                Row("Totalizador Base Cálculo", "Imposto"),
                Row("04S 5,00%                    12,00", "0,60"), Row("Total ISSQN:", "12,00")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.issqnTotalizers[0], 1200);
         EXPECT_EQ(r.totalIssqn, 1200);
         EXPECT_EQ(r.icmsTotalizers[0], 0);
       }},
      {"non-fiscal adjustments above the table",
       Reading({kNonFiscalRule, Row("CANC NÃO-FISC:", "1,00"), Row("DESC NÃO-FISC:", "2,00"),
                Row("ACRE NÃO-FISC:", "3,00"), kNonFiscalHeader,
                Row("01 SANGRIA            :0012", "15,00"), Line("02 sem contador"),
                Row("03 RECEBIMENTO        :00345", "1.042,50"),
                Row("Total Operações Não-Fiscais:", "1.057,50"), Line("")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.nonFiscalCancellations, 100);
         EXPECT_EQ(r.nonFiscalDiscounts, 200);
         EXPECT_EQ(r.nonFiscalSurcharges, 300);
         EXPECT_EQ(r.nonFiscalCounters[0], 12);
         EXPECT_EQ(r.nonFiscalTotalizers[0], 1500);
         EXPECT_EQ(r.nonFiscalCounters[1], 0);
         EXPECT_EQ(r.nonFiscalCounters[2], 345);
         EXPECT_EQ(r.nonFiscalTotalizers[2], 104250);
         EXPECT_EQ(r.nonFiscalTotal, 105750);
       }},
      {"non-fiscal adjustments below the table",
       Reading({kNonFiscalRule, kNonFiscalHeader, Row("01 SANGRIA            :00001", "5,00"),
                Row("Total Operações Não-Fiscais:", "5,00"), Row("ACRE NÃO-FISC:", "3,00"),
                Row("DESC NÃO-FISC:", "2,00"), Row("CANC NÃO-FISC:", "1,00")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.nonFiscalSurcharges, 300);
         EXPECT_EQ(r.nonFiscalDiscounts, 200);
         EXPECT_EQ(r.nonFiscalCancellations, 100);
         EXPECT_EQ(r.nonFiscalCounters[0], 1);
         EXPECT_EQ(r.nonFiscalTotal, 500);
       }},
      {"management reports up to the payment table, which is then read",
       Reading({Line("--------------RELATÓRIO GERENCIAL---------------"),
                Row("Nº Relatório", "CER"), Row("01 GERAL", "0003"), Row("02 X", "12345"),
                kPaymentRule, kPaymentHeader, Row("01   Dinheiro", "20,00"), Row("TROCO", "1,00")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.managementReportCounters[0], 3);
         EXPECT_EQ(r.managementReportCounters[1], 2345);
         EXPECT_EQ(r.paymentMeans[0], 2000);
       }},
      {"payment table ended by TROCO",
       Reading({kPaymentRule, kPaymentHeader, Row("01   Dinheiro", "20,00"),
                Row("02   Cheque", "2,00"), Row("TROCO", "1,00"), Row("03   Cartão", "9,00")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.paymentMeans[0], 2000);
         EXPECT_EQ(r.paymentMeans[1], 200);
         EXPECT_EQ(r.paymentMeans[2], 0);
       }},
      {"payment table ended by 48 dashes, with the TEF header",
       Reading({kPaymentRule, Line("No.  Meio Pagamento    TEF Valor Acumulado"),
                Row("01   Dinheiro      N", "20,00"), Line(std::string(48, '-')),
                Row("02   Cheque", "2,00")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.paymentMeans[0], 2000);
         EXPECT_EQ(r.paymentMeans[1], 0);
       }},
      {"payment table ended by Comprovante Não Emitido:",
       Reading({kPaymentRule, kPaymentHeader, Row("01   Dinheiro", "20,00"),
                Row("Comprovante Não Emitido:", "0000"), Row("02   Cheque", "2,00")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.paymentMeans[0], 2000);
         EXPECT_EQ(r.paymentMeans[1], 0);
       }},
      {"payment table without its header is not read",
       Reading({kPaymentRule, Row("01   Dinheiro", "20,00"), Row("TROCO", "1,00")}),
       [](const TotalsReading& r) { EXPECT_EQ(r.paymentMeans[0], 0); }},
      {"tables end at the end of the file",
       Reading({kPaymentRule, kPaymentHeader, Row("01   Dinheiro", "20,00")}),
       [](const TotalsReading& r) { EXPECT_EQ(r.paymentMeans[0], 2000); }},
      {"full and overfull arrays",
       Reading({Line("----------------------ICMS----------------------"),
                Row("Totalizador Base Cálculo", "Imposto"),
                Lines(17, [](int k) { return Row("T 1,00%  " + std::to_string(k) + ",00", "0"); }),
                Row("Total ICMS:", "1,00"), kNonFiscalRule, kNonFiscalHeader,
                Lines(31, [](int k) { return Row("01 X:" + std::to_string(k), "1,00"); }),
                Row("Total Operações Não-Fiscais:", "31,00"), Line(""), kPaymentRule,
                kPaymentHeader,
                Lines(21, [](int k) { return Row("01", std::to_string(k) + ",00"); }),
                Row("TROCO", "0,00")}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.icmsTotalizers[15], 1600);
         EXPECT_EQ(r.totalIcms, 100);
         EXPECT_EQ(r.nonFiscalCounters[29], 30);
         EXPECT_EQ(r.nonFiscalTotal, 3100);
         EXPECT_EQ(r.paymentMeans[19], 2000);
       }},
      {"a long line is one line: its label and its amount belong together",
       Reading({"TOTALIZADOR GERAL:" + std::string(600, ' ') + "7,00\n",
                std::string(510, '-') + "VENDA BRUTA DIÁRIA:" + std::string(20, ' ') + "8,00\n"}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.grandTotal, 700);
         EXPECT_EQ(r.grossDailySales, 800);
       }},
      {"a line longer than any reading's is one blank line",
       Reading({"TOTALIZADOR GERAL:" + std::string(kLongestReadingLine - 22, ' ') + "6,00\n",
                "TOTALIZADOR GERAL:" + std::string(kLongestReadingLine, ' ') + "7,00\n",
                "----------------------ICMS----------------------\n",
                std::string(kLongestReadingLine, '-') + "Totalizador Base Cálculo\n",
                "T 1,00%   5,00\n", "Total ICMS:   9,00\n",
                "VENDA BRUTA DIÁRIA:" + std::string(20, ' ') + "8,00"}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.grandTotal, 600);       // the longest a line may be, then one longer
         EXPECT_EQ(r.icmsTotalizers[0], 0);  // no piece of the long line is the header
         EXPECT_EQ(r.totalIcms, 0);
         EXPECT_EQ(r.grossDailySales, 800);
       }},
      {"LF line ends and a last line without one",
       Reading({"Contador de Cupom Fiscal:     000042\n",
                "TOTALIZADOR GERAL:" + std::string(20, ' ') + "3,21"}),
       [](const TotalsReading& r) {
         EXPECT_EQ(r.fiscalCouponCount, 42);
         EXPECT_EQ(r.grandTotal, 321);
       }},
  };
  // Read in pieces of any size, a line is the same line.
  for (const Case& c : cases) {
    for (size_t piece : {size_t{1}, size_t{2}, size_t{49}, kReadingPieceBytes}) {
      SCOPED_TRACE(std::string(c.what) + ", pieces of " + std::to_string(piece));
      c.check(ParseReadingText(c.text, piece));
    }
  }
}

TEST(ParseReading, ReadsTheFileToItsEndAndTakesAMissingOneAsZero) {
  testing::TempDirectory directory;
  const std::string path = (directory.Path() / "LX1.txt").string();
  bool found = true;
  EXPECT_EQ(ParseReading(path, &found), TotalsReading());
  EXPECT_FALSE(found);
  EXPECT_EQ(ParseReading(directory.Path().string(), &found), TotalsReading());
  EXPECT_FALSE(found);

  std::ofstream(path, std::ios::binary) << W(Row("TOTALIZADOR GERAL:", "1.234,56"));
  EXPECT_EQ(ParseReading(path, &found).grandTotal, 123456);
  EXPECT_TRUE(found);

  // Far larger than any reading, its last line still counts.
  {
    std::ofstream out(path, std::ios::binary);
    const std::string filler = Row("TOTALIZADOR GERAL:", "1,00") + std::string(4000, 'x') + "\n";
    for (size_t written = 0; written < (size_t{12} << 20); written += filler.size()) out << filler;
    out << Row("TOTALIZADOR GERAL:", "2,00");
  }
  EXPECT_EQ(ParseReading(path, &found).grandTotal, 200);
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace taloven
