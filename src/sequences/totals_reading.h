#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace taloven {

// Money in whole cents: readings are added and subtracted field by field,
// and in cents no number of them drifts by a fraction.
using Cents = int64_t;

// A value a reading cannot hold: read from a number too long for its field,
// or the sum or difference of two that overflowed. It is never equal to a
// found value, so a comparison that meets it always reports an error.
template <typename T>
inline constexpr T kOutOfRange = std::numeric_limits<T>::min();

// The counters and totals of one X reading. Every field starts at zero.
struct TotalsReading {
  static constexpr size_t kTaxTotalizers = 16;
  static constexpr size_t kNonFiscalSlots = 30;
  static constexpr size_t kReportSlots = 30;
  static constexpr size_t kPaymentMeans = 20;

  int nonFiscalOperations = 0;
  int restartCount = 0;
  int reductionCount = 0;
  int fiscalCouponCount = 0;
  int journalCount = 0;
  int creditDebitReceiptCount = 0;
  int managementReportCount = 0;
  int cancelledNonFiscalCount = 0;
  int cancelledFiscalCouponCount = 0;
  std::array<int, kNonFiscalSlots> nonFiscalCounters{};
  std::array<int, kReportSlots> managementReportCounters{};
  Cents grandTotal = 0;
  Cents grossDailySales = 0;
  Cents icmsCancellations = 0;
  Cents icmsDiscounts = 0;
  Cents issqnTotal = 0;
  Cents issqnCancellations = 0;
  Cents issqnDiscounts = 0;
  Cents netSales = 0;
  Cents icmsSurcharges = 0;
  Cents issqnSurcharges = 0;
  std::array<Cents, kTaxTotalizers> icmsTotalizers{};
  std::array<Cents, kTaxTotalizers> issqnTotalizers{};
  Cents totalIcms = 0;
  Cents totalIssqn = 0;
  Cents icmsTaxSubstitution = 0;
  Cents icmsExempt = 0;
  Cents icmsNonIncidence = 0;
  Cents issqnTaxSubstitution = 0;
  Cents issqnExempt = 0;
  Cents issqnNonIncidence = 0;
  Cents nonFiscalCancellations = 0;
  Cents nonFiscalDiscounts = 0;
  Cents nonFiscalSurcharges = 0;
  Cents nonFiscalTotal = 0;
  std::array<Cents, kNonFiscalSlots> nonFiscalTotalizers{};
  std::array<Cents, kPaymentMeans> paymentMeans{};

  friend bool operator==(const TotalsReading&, const TotalsReading&) = default;
};

enum class FieldKind { Counter, Amount };

// Calls visit(label, kind, field...) for every field of the given readings,
// in report order, with the same field of each reading. label is the
// report's UTF-8 label; an array's label holds a %d for its 1-based element
// number, and its fields are passed as whole arrays.
template <typename Visit, typename... Readings>
void ForEachField(Visit&& visit, Readings&... r) {
  using enum FieldKind;
  visit("Geral de Operação Não Fiscal:\t", Counter, r.nonFiscalOperations...);
  visit("Contador de Reinício de Operação:\t", Counter, r.restartCount...);
  visit("Contador de Reduções Z:\t", Counter, r.reductionCount...);
  visit("Contador de Cupom Fiscal:\t", Counter, r.fiscalCouponCount...);
  visit("Contador de Fita-Detalhe:\t", Counter, r.journalCount...);
  visit("Comprovante de Crédito ou Débito:\t", Counter, r.creditDebitReceiptCount...);
  visit("Geral de Relatório Gerencial:\t", Counter, r.managementReportCount...);
  visit("Geral Oper. Não-Fiscal Canc.:\t", Counter, r.cancelledNonFiscalCount...);
  visit("Cupom Fiscal Cancelado:\t", Counter, r.cancelledFiscalCouponCount...);
  visit("Contador não fiscal :%d", Counter, r.nonFiscalCounters...);
  visit("Contador Rel. Gerencial:%d", Counter, r.managementReportCounters...);
  visit("TOTALIZADOR GERAL:\t", Amount, r.grandTotal...);
  visit("VENDA BRUTA DIÁRIA:\t", Amount, r.grossDailySales...);
  visit("CANCELAMENTO ICMS:\t", Amount, r.icmsCancellations...);
  visit("DESCONTO ICMS:\t", Amount, r.icmsDiscounts...);
  visit("Total de ISSQN:\t", Amount, r.issqnTotal...);
  visit("CANCELAMENTO ISSQN:\t", Amount, r.issqnCancellations...);
  visit("DESCONTO DE ISSQN:\t", Amount, r.issqnDiscounts...);
  visit("VENDA LÍQUIDA:\t", Amount, r.netSales...);
  visit("ACRÉSCIMO ICMS:\t", Amount, r.icmsSurcharges...);
  visit("ACRÉSCIMO ISSQN:\t", Amount, r.issqnSurcharges...);
  visit("Totalizador ICMS %d:\t", Amount, r.icmsTotalizers...);
  visit("Totalizador ISSQN %d:\t", Amount, r.issqnTotalizers...);
  visit("Total ICMS:\t", Amount, r.totalIcms...);
  visit("Total ISSQN:\t", Amount, r.totalIssqn...);
  visit("Substituicao Tributaria ICMS:\t", Amount, r.icmsTaxSubstitution...);
  visit("Isento ICMS:\t", Amount, r.icmsExempt...);
  visit("NaoIncidencia ICMS:\t", Amount, r.icmsNonIncidence...);
  visit("Substituicao Tributaria ISSQN:\t", Amount, r.issqnTaxSubstitution...);
  visit("Isento ISSQN:\t", Amount, r.issqnExempt...);
  visit("Nao Incidencia ISSQN:\t", Amount, r.issqnNonIncidence...);
  visit("CANC NÃO-FISC:\t", Amount, r.nonFiscalCancellations...);
  visit("DESC NÃO-FISC:\t", Amount, r.nonFiscalDiscounts...);
  visit("ACRE NÃO-FISC:\t", Amount, r.nonFiscalSurcharges...);
  visit("Total Operações Não-Fiscais:\t", Amount, r.nonFiscalTotal...);
  visit("Totalizador não fiscal %d:\t", Amount, r.nonFiscalTotalizers...);
  visit("Totalizador meio de pagamento %d:\t", Amount, r.paymentMeans...);
}

// Field by field: b - a, and a + b; a result that would overflow, or comes
// from a value out of range, is kOutOfRange.
TotalsReading Difference(const TotalsReading& a, const TotalsReading& b);
TotalsReading Sum(const TotalsReading& a, const TotalsReading& b);

}  // namespace taloven
