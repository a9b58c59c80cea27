// The fiscal-memory reading from an MF image, by reduction counter or date,
// complete or simplified.
#include <array>
#include <cstdio>

#include "base/read_file.h"
#include "call_outcome.h"
#include "formats/journal_record.h"
#include "formats/mf_image.h"
#include "kovo_mfd.h"
#include "report_text.h"

namespace kovo {
namespace {

bool Counter(const char* text, int& value) {
  if (text == nullptr || *text == '\0') return false;
  value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9' || p - text >= 6) return false;
    value = value * 10 + (*p - '0');
  }
  return true;
}

std::string RateLabel(const taloven::MfTaxRateTotal& rate, int index) {
  char label[32];
  std::snprintf(label, sizeof label, "%s%02d %d,%02d%%", rate.iss ? "S" : "T", index + 1,
                rate.hundredths / 100, rate.hundredths % 100);
  return label;
}

std::string Zeroed(long long value, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
  return buffer;
}

void Header(ReportText& r, const taloven::MfIdentity& id, bool simplified,
            const std::string& interval) {
  r.Line(W(simplified ? "LEITURA DA MEMÓRIA FISCAL SIMPLIFICADA" : "LEITURA DA MEMÓRIA FISCAL"));
  r.Line(id.maker + " " + id.model + " " + id.type);
  r.Line("FAB:" + id.serialNumber);
  r.Line(W("VERSÃO:") + id.firmware + " ECF:" + Zeroed(id.registerNumber, 3) +
         " LJ:" + Zeroed(id.storeNumber, 4));
  r.Line("CNPJ:" + id.cnpj);
  r.Line("IE:" + id.ie);
  if (!id.im.empty()) r.Line("IM:" + id.im);
  r.Line(interval);
  r.Line(std::string(48, '-'));
}

void Complete(ReportText& r, const taloven::MfReduction& z) {
  r.Row("CRZ:" + Zeroed(z.crz, 4) + " COO:" + Zeroed(z.coo, 6), "CRO:" + Zeroed(z.cro, 4));
  r.Row("DATA:", DateTimeText(z.when));
  r.Row("GRANDE TOTAL:", Money(z.grandTotal));
  r.Row("VENDA BRUTA:", Money(z.gross));
  r.Row("CANCELAMENTOS:", Money(z.cancellations));
  r.Row("DESCONTOS:", Money(z.discounts));
  r.Row(W("ACRÉSCIMOS:"), Money(z.surcharges));
  r.Row("ISENTO:", Money(z.exempt));
  r.Row(W("NÃO INCIDÊNCIA:"), Money(z.nonIncidence));
  r.Row(W("SUBSTITUIÇÃO TRIBUTÁRIA:"), Money(z.substitution));
  for (int k = 0; k < z.rateCount; ++k)
    r.Row(RateLabel(z.rates[static_cast<size_t>(k)], k),
          Money(z.rates[static_cast<size_t>(k)].cents));
  r.Line(std::string(48, '-'));
}

int Report(const char* mfPath, const char* textPath, const char* type, const char* start,
           const char* end) {
  if (type == nullptr || textPath == nullptr || *textPath == '\0') return KOVO_NOT_EXECUTED;
  const std::string kind = type;
  if (kind != "C" && kind != "c" && kind != "D" && kind != "d") return KOVO_NOT_EXECUTED;
  const bool byDate = kind == "D" || kind == "d";
  const bool simplified = kind == "c" || kind == "d";
  int first = 0, last = 0;
  std::string interval;
  if (byDate) {
    if (start == nullptr || end == nullptr || !taloven::DateKeyFromDdmmyy(start, first) ||
        !taloven::DateKeyFromDdmmyy(end, last))
      return KOVO_INVALID_DATE;
    auto shown = [](int key) {
      char b[16];
      std::snprintf(b, sizeof b, "%02d/%02d/%04d", key % 100, key / 100 % 100, key / 10000);
      return std::string(b);
    };
    interval = W("PERÍODO: ") + shown(first) + " A " + shown(last);
  } else {
    if (!Counter(start, first) || !Counter(end, last)) return KOVO_NOT_EXECUTED;
    interval = "CRZ: " + Zeroed(first, 4) + " A " + Zeroed(last, 4);
  }
  std::string bytes;
  taloven::MfImage image;
  if (mfPath == nullptr || !taloven::ReadWholeFile(mfPath, bytes).ok() ||
      !taloven::DecodeMfImage(bytes, image))
    return KOVO_NO_VALID_DATA;

  ReportText r;
  Header(r, image.identity, simplified, interval);
  taloven::MfReduction sum;
  // The period's sums, wider than a reduction's own amounts: many of them
  // may pass 64 bits.
  Cents gross = 0, cancellations = 0, discounts = 0, surcharges = 0;
  std::array<Cents, taloven::kMfTaxRates> rateCents{};
  int count = 0;
  for (const taloven::MfReduction& z : image.reductions) {
    const int key = byDate ? z.DateKey() : static_cast<int>(z.crz);
    if (key < first || key > last) continue;
    ++count;
    if (simplified)
      r.Row("CRZ:" + Zeroed(z.crz, 4) + " " + DateText(z.when), Money(z.gross));
    else
      Complete(r, z);
    gross += z.gross;
    cancellations += z.cancellations;
    discounts += z.discounts;
    surcharges += z.surcharges;
    sum.grandTotal = z.grandTotal;
    sum.rateCount = std::max(sum.rateCount, z.rateCount);
    for (int k = 0; k < z.rateCount; ++k) {
      auto& rate = sum.rates[static_cast<size_t>(k)];
      rate.hundredths = z.rates[static_cast<size_t>(k)].hundredths;
      rate.iss = z.rates[static_cast<size_t>(k)].iss;
      rateCents[static_cast<size_t>(k)] += z.rates[static_cast<size_t>(k)].cents;
    }
  }
  if (count == 0) return KOVO_NO_VALID_DATA;
  if (simplified) r.Line(std::string(48, '-'));
  r.Line(W("TOTAL DO PERÍODO"));
  r.Row(W("REDUÇÕES:"), std::to_string(count));
  r.Row("VENDA BRUTA:", Money(gross));
  r.Row("CANCELAMENTOS:", Money(cancellations));
  r.Row("DESCONTOS:", Money(discounts));
  r.Row(W("ACRÉSCIMOS:"), Money(surcharges));
  for (int k = 0; k < sum.rateCount; ++k)
    r.Row(RateLabel(sum.rates[static_cast<size_t>(k)], k),
          Money(rateCents[static_cast<size_t>(k)]));
  r.Row("GRANDE TOTAL FINAL:", Money(sum.grandTotal));
  if (image.damagedBlocks > 0)
    r.Row(W("BLOCOS DANIFICADOS IGNORADOS:"), std::to_string(image.damagedBlocks));
  LastOutcome().damagedParts = static_cast<long long>(image.damagedBlocks);
  LastOutcome().damagedBytes = static_cast<long long>(image.damagedBlocks * taloven::kMfBlockSize);
  return WriteOutput(textPath, r.Bytes(), KOVO_TXT_NOT_OPENED);
}

}  // namespace
}  // namespace kovo

extern "C" KOVO_API int KovoRelatorioMFTxt(const char* mfPath, const char* textPath,
                                           const char* type, const char* start, const char* end) {
  return kovo::Guarded(KOVO_NO_VALID_DATA,
                       [&] { return kovo::Report(mfPath, textPath, type, start, end); });
}
