#include <gtest/gtest.h>

#include "emulator/printer_fixture.h"
#include "emulator/reading_parser.h"
#include "printer/exchange.h"
#include "printer/reports.h"

namespace taloven::emulator::testing {
namespace {

constexpr uint8_t kOpen = 0, kSell = 9, kAdjustItem = 62, kCancelItem = 31, kTotalize = 32,
                  kPay = 72, kFinish = 34, kCloseQuick = 33, kCancelReceipt = 14, kXPort = 69,
                  kZ = 5, kWithdrawal = 25, kReceiveNonFiscal = 77, kCancelNonFiscal = 78,
                  kReport = 20, kCloseReport = 21, kClock = 2, kOwner = 4;

std::string Money(int64_t cents) {
  return Digits(cents, 14);
}

class DayOfSales : public ::testing::Test {
 protected:
  void Ok(std::initializer_list<uint8_t> code, const std::string& parameters = "") {
    const Answer a = f.Send(code, parameters);
    ASSERT_EQ(a.extended, 0) << "command " << int(*code.begin());
    ASSERT_EQ(a.st2, 0) << "command " << int(*code.begin());
  }
  ParsedReading Reading() {
    const Answer a = f.Send({kXPort}, "", true);
    EXPECT_EQ(a.extended, 0);
    return ParseXReading(a.text);
  }
  // One receipt: two items of rate 01 (18 %), one service of rate 04 (ISS),
  // a 10 % discount on the second item, a 1,00 surcharge on the subtotal,
  // paid 20,00 in cash and the rest by cheque.
  void SellReceipt() {
    Ok({kOpen});
    Ok({kSell}, SaleParameters("01", 2000, 350));   // 7,00
    Ok({kSell}, SaleParameters("01", 1000, 1000));  // 10,00
    Ok({kAdjustItem}, "D002" + Digits(1000, 4));    // -1,00
    Ok({kSell}, SaleParameters("04", 1000, 500));   // 5,00 ISS
    Ok({kTotalize}, "a" + Money(100));              // +1,00
    Ok({kPay}, "01" + Money(2000));
    Ok({kPay}, "02" + Money(200));
    Ok({kFinish});
  }

  PrinterFixture f;
};

TEST_F(DayOfSales, ReceiptMovesTheReadingTotals) {
  const ParsedReading before = Reading();
  SellReceipt();
  const ParsedReading after = Reading();

  EXPECT_DOUBLE_EQ(after["VENDA BRUTA DIÁRIA:"] - before["VENDA BRUTA DIÁRIA:"], 22.00);
  EXPECT_DOUBLE_EQ(after["TOTALIZADOR GERAL:"] - before["TOTALIZADOR GERAL:"], 22.00);
  EXPECT_DOUBLE_EQ(after["DESCONTO ICMS"], 1.00);
  EXPECT_DOUBLE_EQ(after["ACRÉSCIMO ICMS:"], 1.00);
  EXPECT_DOUBLE_EQ(after["VENDA LÍQUIDA:"], 22.00);
  // rate 01: 7,00 + 10,00 - 1,00, and the subtotal's 1,00 surcharge, all of
  // it on the receipt's only ICMS rate
  EXPECT_DOUBLE_EQ(after.icms[0], 17.00);
  EXPECT_DOUBLE_EQ(after["Total ICMS:"], 17.00);
  EXPECT_DOUBLE_EQ(after["Total ICMS:"] + after["Total ISSQN:"], after["VENDA LÍQUIDA:"]);
  EXPECT_DOUBLE_EQ(after.issqn[0], 5.00);
  EXPECT_DOUBLE_EQ(after["Total ISSQN:"], 5.00);
  EXPECT_DOUBLE_EQ(after["Total de ISSQN:"], 5.00);
  EXPECT_DOUBLE_EQ(after.payments[0], 20.00);
  EXPECT_DOUBLE_EQ(after.payments[1], 2.00);
  EXPECT_EQ(after["Contador de Cupom Fiscal:"] - before["Contador de Cupom Fiscal:"], 1);
}

// The rates' totalizers add up to the net sales whatever the subtotal
// adjustments, and a cancelled receipt takes its shares back to the cent.
TEST_F(DayOfSales, SubtotalAdjustmentsAreSharedOverTheRates) {
  Ok({kOpen});
  Ok({kSell}, SaleParameters("01", 1000, 700));  // 7,00
  Ok({kSell}, SaleParameters("02", 1000, 900));  // 9,00
  Ok({kSell}, SaleParameters("04", 1000, 500));  // 5,00 ISS
  Ok({kTotalize}, "a" + Money(100));             // +1,00 over 16,00 of ICMS
  Ok({kPay}, "01" + Money(2200));
  Ok({kFinish});
  const ParsedReading sold = Reading();
  EXPECT_DOUBLE_EQ(sold.icms[0], 7.43);
  EXPECT_DOUBLE_EQ(sold.icms[1], 9.57);  // the odd cent on the larger share
  EXPECT_DOUBLE_EQ(sold.issqn[0], 5.00);
  EXPECT_DOUBLE_EQ(sold["Total ICMS:"] + sold["Total ISSQN:"], sold["VENDA LÍQUIDA:"]);

  Ok({kCancelReceipt});
  const ParsedReading cancelled = Reading();
  EXPECT_DOUBLE_EQ(cancelled.icms[0], 0);
  EXPECT_DOUBLE_EQ(cancelled.icms[1], 0);
  EXPECT_DOUBLE_EQ(cancelled["VENDA LÍQUIDA:"], 0);
}

TEST_F(DayOfSales, CancellationsAndNonFiscalDocumentsShow) {
  SellReceipt();
  Ok({kCancelReceipt});  // the finished receipt, right after it
  Ok({kOpen});
  Ok({kSell}, SaleParameters("II", 1000, 300));
  Ok({kCancelItem}, "001");
  Ok({kSell}, SaleParameters("FF", 1000, 400));
  Ok({kCloseQuick}, "01");
  Ok({kWithdrawal}, Money(1500));
  Ok({kReceiveNonFiscal}, "03" + Money(4250) + "01");
  Ok({kCancelNonFiscal});
  Ok({kReport}, std::string("\x01\x00", 2) + "linha\n");
  Ok({kCloseReport});

  const ParsedReading r = Reading();
  EXPECT_DOUBLE_EQ(r["VENDA BRUTA DIÁRIA:"], 29.00);
  EXPECT_DOUBLE_EQ(r["CANCELAMENTO ICMS:"],
                   20.00);  // receipt: 16,00 of items + 1,00 surcharge; item 3,00
  EXPECT_DOUBLE_EQ(r["CANCELAMENTO ISSQN:"], 5.00);
  EXPECT_DOUBLE_EQ(r["VENDA LÍQUIDA:"], 4.00);
  EXPECT_DOUBLE_EQ(r["Substituição Tributária ICMS:"], 4.00);
  EXPECT_DOUBLE_EQ(r["Isento ICMS:"], 0.00);
  EXPECT_DOUBLE_EQ(r.icms[0], 0.00);
  EXPECT_EQ(r["Cupom Fiscal Cancelado:"], 1);
  EXPECT_EQ(r["Contador de Cupom Fiscal:"], 2);
  EXPECT_EQ(r["Geral de Operação Não Fiscal:"], 2);
  EXPECT_EQ(r["Geral Oper. Não-Fiscal Canc."], 1);
  EXPECT_EQ(r["Geral de Relatório Gerencial:"], 1);
  EXPECT_EQ(r.reportCounters[0], 1);
  EXPECT_EQ(r.nonFiscalCounters[0], 1);
  EXPECT_DOUBLE_EQ(r.nonFiscalTotals[0], 15.00);
  EXPECT_DOUBLE_EQ(r.nonFiscalTotals[2], 0.00);
  EXPECT_DOUBLE_EQ(r["CANC NÃO-FISC:"], 42.50);
  EXPECT_DOUBLE_EQ(r["Total Operações Não-Fiscais"], 15.00);
  EXPECT_DOUBLE_EQ(r.payments[0], 4.00);  // the cancelled receipt's payments went back out
}

TEST_F(DayOfSales, OutOfOrderCommandsAreRefused) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::vector<uint8_t>, std::string>> before;
    std::vector<uint8_t> code;
    std::string parameters;
    uint16_t extended;
    uint8_t st1, st2;
  };
  const std::string sale = SaleParameters("01", 1000, 100);
  const std::vector<Case> cases = {
      {"sale without a receipt", {}, {kSell}, sale, ext::kReceiptNotOpen, 0, st2::kNotExecuted},
      {"second open",
       {{{kOpen}, ""}},
       {kOpen},
       "",
       ext::kReceiptOpen,
       st1::kReceiptOpen,
       st2::kNotExecuted},
      {"totalize an empty receipt",
       {{{kOpen}, ""}},
       {kTotalize},
       "",
       ext::kReceiptWithoutItem,
       st1::kReceiptOpen,
       st2::kNotExecuted},
      {"pay before totalizing",
       {{{kOpen}, ""}, {{kSell}, sale}},
       {kPay},
       "01" + Money(100),
       ext::kReceiptNotTotalized,
       st1::kReceiptOpen,
       st2::kNotExecuted},
      {"close before paying",
       {{{kOpen}, ""}, {{kSell}, sale}, {{kTotalize}, ""}},
       {kFinish},
       "",
       ext::kPaymentsBelowTotal,
       st1::kReceiptOpen,
       st2::kNotExecuted},
      {"sell after totalizing",
       {{{kOpen}, ""}, {{kSell}, sale}, {{kTotalize}, ""}},
       {kSell},
       sale,
       ext::kAlreadyTotalized,
       st1::kReceiptOpen,
       st2::kNotExecuted},
      {"unprogrammed rate",
       {{{kOpen}, ""}},
       {kSell},
       SaleParameters("09", 1000, 100),
       ext::kTaxRateNotProgrammed,
       st1::kReceiptOpen,
       st2::kTaxRateNotProgrammed},
      {"discount over the subtotal",
       {{{kOpen}, ""}, {{kSell}, sale}},
       {kTotalize},
       "d" + Money(100),
       ext::kAdjustmentOverTotal,
       st1::kReceiptOpen,
       st2::kNotExecuted},
      {"cancel with nothing to cancel",
       {},
       {kCancelReceipt},
       "",
       ext::kCancelNotRightAfter,
       0,
       st2::kCancelNotAllowed | st2::kNotExecuted},
      {"Z with a receipt open",
       {{{kOpen}, ""}},
       {kZ},
       "",
       ext::kReceiptOpen,
       st1::kReceiptOpen,
       st2::kNotExecuted},
      {"second Z of the day", {{{kZ}, ""}}, {kZ}, "", ext::kBlockedByZ, 0, st2::kNotExecuted},
      {"sale after the Z", {{{kZ}, ""}}, {kOpen}, "", ext::kBlockedByZ, 0, st2::kNotExecuted},
      {"programming outside intervention",
       {},
       {kOwner},
       std::string(49, 'A'),
       ext::kNotInIntervention,
       0,
       st2::kNotExecuted},
      {"clock after the day's first sale",
       {{{kOpen}, ""}, {{kCancelReceipt}, ""}},
       {kClock},
       "071226120000" + std::string(1, '\0'),
       ext::kMovementInDay,
       0,
       st2::kNotExecuted},
      {"short sale",
       {{{kOpen}, ""}},
       {kSell},
       "123",
       ext::kWrongParameterCount,
       st1::kReceiptOpen | st1::kWrongParameterCount,
       0},
      {"letters for a quantity",
       {{{kOpen}, ""}},
       {kSell},
       SaleParameters("01", 0, 0).replace(44, 1, "X"),
       ext::kWrongParameterType,
       st1::kReceiptOpen,
       st2::kWrongParameterType},
      {"unknown command", {}, {99}, "", ext::kInvalidCommand, st1::kUnknownCommand, 0},
      {"close a report never opened",
       {},
       {kCloseReport},
       "",
       ext::kNoReportOpen,
       0,
       st2::kNotExecuted},
  };
  for (const Case& c : cases) {
    PrinterFixture fresh;
    for (const auto& [code, parameters] : c.before) {
      Frame frame{kExtendedStart, code};
      frame.body.insert(frame.body.end(), parameters.begin(), parameters.end());
      fresh.printer.Answer(frame);
    }
    Frame frame{kExtendedStart, c.code};
    frame.body.insert(frame.body.end(), c.parameters.begin(), c.parameters.end());
    const std::vector<uint8_t> reply = fresh.printer.Answer(frame).bytes;
    ASSERT_EQ(reply.size(), 5u) << c.what;
    EXPECT_EQ(reply[1], c.st1) << c.what;
    EXPECT_EQ(reply[2], c.st2) << c.what;
    EXPECT_EQ(reply[3] | (reply[4] << 8), c.extended) << c.what;
  }
}

TEST_F(DayOfSales, ZClosesTheDayAndTheNextDayOpensAfterTheClockMoves) {
  SellReceipt();
  Ok({kZ});
  const ParsedReading closed = Reading();
  EXPECT_EQ(closed["Contador de Reduções Z:"], 1);
  EXPECT_DOUBLE_EQ(closed["VENDA BRUTA DIÁRIA:"], 0.00);
  EXPECT_DOUBLE_EQ(closed["TOTALIZADOR GERAL:"], 22.00);
  EXPECT_DOUBLE_EQ(closed.payments[0], 0.00);

  Ok({kClock}, "081226080000" + std::string(1, '\0'));
  SellReceipt();
  EXPECT_DOUBLE_EQ(Reading()["TOTALIZADOR GERAL:"], 44.00);

  // The fiscal memory lists the reduction, through the port when asked so.
  const Answer memory = f.Send({8}, "000001000009R", true);
  EXPECT_EQ(memory.extended, 0);
  EXPECT_NE(memory.text.find(Utf8To850("VENDA BRUTA DIÁRIA:")), std::string::npos);
  EXPECT_NE(memory.text.find("22,00"), std::string::npos);
  EXPECT_EQ(f.Send({8}, "000001000009I").data.size(), 0u);
}

TEST_F(DayOfSales, ReadingLinesKeepTheirValuesInTheLastColumns) {
  PrinterState state = DefaultPrinterState("ECF-T08");
  state.grandTotal = 123456789;  // 1.234.567,89
  state.crz = 12345;             // wider than its four columns
  const std::string text = XReadingText(state, kTestHostTime);
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) EXPECT_LE(line.size(), kLineWidth) << line;
  const ParsedReading r = ParseXReading(text);
  EXPECT_DOUBLE_EQ(r["TOTALIZADOR GERAL:"], 1234567.89);
  EXPECT_EQ(r["Contador de Reduções Z:"], 2345);
}

}  // namespace
}  // namespace taloven::emulator::testing
