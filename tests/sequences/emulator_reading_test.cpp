// The virtual printer's X reading, read by the application's parser, gives
// back every counter and total the printer holds.
#include <gtest/gtest.h>

#include "base/printer_charset.h"
#include "printer/printer_state.h"
#include "printer/reports.h"
#include "sequences/reading_compare.h"
#include "sequences/reading_parser.h"

namespace taloven {
namespace {

TEST(EmulatorReading, ParsesToTheTotalsThePrinterHolds) {
  emulator::PrinterState state = emulator::DefaultPrinterState("ECF-T08");
  state.crz = 12;
  state.cro = 3;
  state.ccf = 4567;
  state.gnf = 89;
  state.cdc = 7;
  state.grg = 21;
  state.ncn = 5;
  state.cfc = 6;
  state.cfd = 8;
  state.grandTotal = 1234567891;
  emulator::DayTotals& d = state.day;
  d = {100000, 1100, 1200, 1300, 1400, 1500, 1600, 1700, 1800,
       1900,   2000, 2100, 2200, 2300, 2400, 2500, 2600};
  state.taxRates[0].total = 50012;
  state.taxRates[2].total = 7;
  state.taxRates[3].total = 99999;  // the ISS rate
  state.nonFiscal[0] = {"SANGRIA", 12345, 654321};
  state.nonFiscal[2] = {"RECEBIMENTO: CONTA", 2, 4250};
  state.payments[1].total = 123456789012;
  state.payments[2].total = 3;
  state.reports[0].count = 4321;

  std::string text = emulator::XReadingText(state, 1767225600);
  PrinterTextToWindows(text);
  const TotalsReading r = ParseReadingText(text);

  TotalsReading expected;
  expected.reductionCount = 12;
  expected.restartCount = 3;
  expected.fiscalCouponCount = 4567;
  expected.nonFiscalOperations = 89;
  expected.creditDebitReceiptCount = 7;
  expected.managementReportCount = 21;
  expected.cancelledNonFiscalCount = 5;
  expected.cancelledFiscalCouponCount = 6;
  expected.journalCount = 8;
  expected.grandTotal = 1234567891;
  expected.grossDailySales = 100000;
  expected.icmsCancellations = 1100;
  expected.icmsDiscounts = 1200;
  expected.icmsSurcharges = 1300;
  expected.issqnCancellations = 1400;
  expected.issqnDiscounts = 1500;
  expected.issqnSurcharges = 1600;
  expected.icmsTaxSubstitution = 1700;
  expected.icmsExempt = 1800;
  expected.icmsNonIncidence = 1900;
  expected.issqnTaxSubstitution = 2000;
  expected.issqnExempt = 2100;
  expected.issqnNonIncidence = 2200;
  expected.nonFiscalCancellations = 2300;
  expected.nonFiscalDiscounts = 2400;
  expected.nonFiscalSurcharges = 2500;
  expected.netSales = 100000 - 1100 - 1400 - 1200 - 1500 + 1300 + 1600;
  expected.icmsTotalizers[0] = 50012;
  expected.icmsTotalizers[2] = 7;
  expected.totalIcms = 50019;
  expected.issqnTotalizers[0] = 99999;
  expected.totalIssqn = 99999;
  expected.issqnTotal = 99999 + 2000 + 2100 + 2200;
  expected.nonFiscalCounters[0] = 12345;
  expected.nonFiscalTotalizers[0] = 654321;
  expected.nonFiscalCounters[2] = 2;
  expected.nonFiscalTotalizers[2] = 4250;
  expected.nonFiscalTotal = 654321 + 4250;
  expected.managementReportCounters[0] = 4321;
  expected.paymentMeans[1] = 123456789012;  // "1.234.567.890,12", wider than 12 columns
  expected.paymentMeans[2] = 3;
  EXPECT_EQ(r, expected) << CompareReadings(expected, r);
}

}  // namespace
}  // namespace taloven
