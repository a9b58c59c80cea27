#include "sequences/reading_compare.h"

#include <gtest/gtest.h>

#include <sstream>

#include "base/encoding.h"
#include "sequences/reading_parser.h"

namespace taloven {
namespace {

std::vector<std::string> ReportLines(const std::string& report) {
  std::vector<std::string> lines;
  std::istringstream in(report);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(CompareValue, OkWithinTheToleranceElseBothValues) {
  const struct {
    double expected, found;
    const char* line;
  } cases[] = {
      {10.00, 10.50, "\tERRO: Valor esperado: 10.00, Valor Encontrado 10.50\r\n"},
      {10.00, 10.00, "\tOk!\r\n"},
      {10.00, 10.00 + 1e-11, "\tOk!\r\n"},
      {-1234.5, 0, "\tERRO: Valor esperado: -1234.50, Valor Encontrado 0.00\r\n"},
      {7, 8, "\tERRO: Valor esperado: 7.00, Valor Encontrado 8.00\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(CompareValue(c.expected, c.found), c.line);
}

TEST(CompareReadings, OneLinePerFieldInOrderWithTheReportLabels) {
  const std::vector<std::string> lines = ReportLines(CompareReadings({}, {}));
  ASSERT_EQ(lines.size(), 9u + 30 + 30 + 10 + 16 + 16 + 2 + 6 + 4 + 30 + 20);
  EXPECT_EQ(lines.front(), W("Geral de Operação Não Fiscal:\t\tOk!\r"));
  EXPECT_EQ(lines[9], W("Contador não fiscal :1\tOk!\r"));
  EXPECT_EQ(lines[69], "TOTALIZADOR GERAL:\t\tOk!\r");
  EXPECT_EQ(lines[113], "Substituicao Tributaria ICMS:\t\tOk!\r");
  EXPECT_EQ(lines[115], "NaoIncidencia ICMS:\t\tOk!\r");
  EXPECT_EQ(lines.back(), "Totalizador meio de pagamento 20:\t\tOk!\r");
}

// Expected = LX1B + (LX2 - LX1), found = LX2B: a run that moved one total
// differently from the training run shows that total and no other.
TEST(CompareReadings, FourReadingsWithOneChangedTotal) {
  TotalsReading lx1, lx2, lx1b, lx2b;
  lx1.fiscalCouponCount = 10;
  lx1.icmsTotalizers[2] = 100000;
  lx2 = lx1;
  lx2.fiscalCouponCount = 11;
  lx2.icmsTotalizers[2] = 101250;
  lx1b = lx2;
  lx2b = lx1b;
  lx2b.fiscalCouponCount = 12;
  lx2b.icmsTotalizers[2] = 102600;  // 13,50 instead of 12,50

  const std::string report = CompareReadings(Sum(Difference(lx1, lx2), lx1b), lx2b);
  EXPECT_TRUE(ReportHasErrors(report));
  std::vector<std::string> errors;
  for (const std::string& line : ReportLines(report))
    if (line.find("ERRO") != std::string::npos) errors.push_back(line);
  EXPECT_EQ(errors, std::vector<std::string>{"Totalizador ICMS 3:\t\tERRO: Valor esperado: "
                                             "1025.00, Valor Encontrado 1026.00\r"});
}

// Many small amounts added up land on the cent, where doubles would drift
// past the tolerance.
TEST(CompareReadings, SumsOfManyReadingsStayExact) {
  TotalsReading dime, total;
  dime.paymentMeans[0] = 10;
  for (int k = 0; k < 1000; ++k) total = Sum(total, dime);
  TotalsReading hundred;
  hundred.paymentMeans[0] = 10000;
  EXPECT_FALSE(ReportHasErrors(CompareReadings(total, hundred)));
  EXPECT_EQ(Difference(total, hundred), TotalsReading());
}

// Crafted readings whose amounts do not fit in 64 bits of cents, or whose
// sum or difference would not: such a total is never "Ok!". Amounts too
// large for a double to tell apart are still compared to the cent.
TEST(CompareReadings, AmountsBeyondSixtyFourBitsAreErrors) {
  const struct {
    const char* what;
    const char *lx1, *lx2, *lx1b, *lx2b;
    const char* line;
  } cases[] = {
      {"the sum wraps onto the found value", "0,00", "92.233.720.368.547.758,07",
       "92.233.720.368.547.758,07", "-0,02",
       "\tERRO: Valor esperado: fora da faixa, Valor Encontrado -0.02\r\n"},
      {"the difference wraps", "-92.233.720.368.547.758,07", "92.233.720.368.547.758,07", "0,00",
       "-0,02", "\tERRO: Valor esperado: fora da faixa, Valor Encontrado -0.02\r\n"},
      {"a cent apart past what a double holds", "0,00", "0,00", "1.000.000.000.000.000,00",
       "1.000.000.000.000.000,01",
       "\tERRO: Valor esperado: 1000000000000000.00, Valor Encontrado 1000000000000000.01\r\n"},
      {"the largest amount, alike", "0,00", "0,00", "92.233.720.368.547.758,07",
       "92.233.720.368.547.758,07", "\tOk!\r\n"},
      {"too long to read, everywhere alike", "999.999.999.999.999.999.999,99",
       "999.999.999.999.999.999.999,99", "999.999.999.999.999.999.999,99",
       "999.999.999.999.999.999.999,99",
       "\tERRO: Valor esperado: fora da faixa, Valor Encontrado fora da faixa\r\n"},
  };
  auto reading = [](const char* amount) {
    return ParseReadingText("TOTALIZADOR GERAL:" + std::string(30, ' ') + amount + "\r\n");
  };
  for (const auto& c : cases) {
    const std::string report = CompareReadings(
        Sum(Difference(reading(c.lx1), reading(c.lx2)), reading(c.lx1b)), reading(c.lx2b));
    EXPECT_NE(report.find(std::string("TOTALIZADOR GERAL:\t") + c.line), std::string::npos)
        << c.what;
  }
}

}  // namespace
}  // namespace taloven
