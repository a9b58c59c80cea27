#include "sequences/reading_parser.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

#include "base/encoding.h"

namespace taloven {
namespace {

constexpr size_t kAmountColumns = 12;
constexpr size_t kTableNumberColumns = 3;
constexpr size_t kNonFiscalCounterColumns = 5;
constexpr size_t kReportCounterColumns = 4;

bool Has(std::string_view line, std::string_view label) {
  return line.find(label) != std::string_view::npos;
}

bool StartsWith(std::string_view line, std::string_view label) {
  return line.substr(0, label.size()) == label;
}

std::string_view Last(std::string_view line, size_t n) {
  return line.size() > n ? line.substr(line.size() - n) : line;
}

std::string_view From(std::string_view line, size_t start) {
  return line.size() > start ? line.substr(start) : std::string_view();
}

// Blanks, an optional sign, then digits up to the first other character;
// no digits give 0, and a number too long for 64 bits is out of range.
// Separators listed in skip are passed over as if they were not there.
int64_t LeadingInteger(std::string_view text, std::string_view skip = {}) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (skip.find(c) != std::string_view::npos) continue;
    if (c < '0' || c > '9') break;
    const int digit = c - '0';
    if (value > (kMax - digit) / 10) return kOutOfRange<int64_t>;
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

int Counter(std::string_view line, size_t digits) {
  const int64_t value = LeadingInteger(Last(line, digits));
  constexpr int64_t kMax = std::numeric_limits<int>::max();
  if (value > kMax || value < -kMax) return kOutOfRange<int>;
  return static_cast<int>(value);
}

bool InAmount(char c) {
  return (c >= '0' && c <= '9') || c == '.' || c == ',';
}

// The amount right-aligned in the last 12 characters, thousands dots and
// decimal comma left out: the printer always prints two decimals. An amount
// of ten million or more does not fit in them; its leading digits are read
// too rather than lost.
Cents Amount(std::string_view line) {
  size_t start = line.size() > kAmountColumns ? line.size() - kAmountColumns : 0;
  const size_t window = start;
  while (start > 0 && InAmount(line[start]) && InAmount(line[start - 1])) --start;
  if (start < window && start > 0 && line[start - 1] == '-') --start;
  return LeadingInteger(line.substr(start), ".,");
}

// The first amount after the mark: its text ends two characters after its
// first comma.
Cents AmountAfterMark(std::string_view line, char mark) {
  const size_t at = line.find(mark);
  if (at == std::string_view::npos) return 0;
  std::string_view rest = line.substr(at + 1);
  const size_t comma = rest.find(',');
  if (comma != std::string_view::npos) rest = rest.substr(0, comma + 3);
  return LeadingInteger(rest, ".,");
}

struct CounterLabel {
  std::string text;
  size_t digits;
  int TotalsReading::*field;
};

struct AmountLabel {
  std::vector<std::string> texts;
  Cents TotalsReading::*field;
};

// Every text the parser looks for, in the reading's own encoding.
struct Labels {
  std::vector<CounterLabel> counters = {
      {W("Contador de Reduções Z:"), 4, &TotalsReading::reductionCount},
      {W("Contador de Reinício de Operação:"), 3, &TotalsReading::restartCount},
      {W("Geral de Operação Não Fiscal:"), 6, &TotalsReading::nonFiscalOperations},
      {W("Comprovante de Crédito ou Débito:"), 4, &TotalsReading::creditDebitReceiptCount},
      {W("Geral Oper. Não-Fiscal Canc."), 4, &TotalsReading::cancelledNonFiscalCount},
      {W("Geral de Relatório Gerencial:"), 6, &TotalsReading::managementReportCount},
      {W("Contador de Cupom Fiscal:"), 6, &TotalsReading::fiscalCouponCount},
      {W("Cupom Fiscal Cancelado:"), 4, &TotalsReading::cancelledFiscalCouponCount},
      {W("Contador de Fita-Detalhe:"), 6, &TotalsReading::journalCount},
  };
  std::vector<AmountLabel> amounts = {
      {{"TOTALIZADOR GERAL:"}, &TotalsReading::grandTotal},
      {{W("VENDA BRUTA DIÁRIA:")}, &TotalsReading::grossDailySales},
      {{"CANCELAMENTO ICMS:"}, &TotalsReading::icmsCancellations},
      {{"DESCONTO ICMS"}, &TotalsReading::icmsDiscounts},
      {{"Total de ISSQN:"}, &TotalsReading::issqnTotal},
      {{"CANCELAMENTO ISSQN:"}, &TotalsReading::issqnCancellations},
      {{"DESCONTO ISSQN:", "DESCONTO DE ISSQN:"}, &TotalsReading::issqnDiscounts},
      {{W("VENDA LÍQUIDA:")}, &TotalsReading::netSales},
      {{W("ACRÉSCIMO ICMS:")}, &TotalsReading::icmsSurcharges},
      {{W("ACRÉSCIMO ISS:"), W("ACRÉSCIMO ISSQN:")}, &TotalsReading::issqnSurcharges},
  };
  std::vector<AmountLabel> taxationAmounts = {
      {{W("Substituição Tributária ICMS:"), "F1 = "}, &TotalsReading::icmsTaxSubstitution},
      {{"Isento ICMS:", "I1 = "}, &TotalsReading::icmsExempt},
      {{W("Não Incidência ICMS:"), "N1 = "}, &TotalsReading::icmsNonIncidence},
      {{W("Substituição Tributária ISSQN:"), "FS1 = "}, &TotalsReading::issqnTaxSubstitution},
      {{"Isento ISSQN:", "IS1 = "}, &TotalsReading::issqnExempt},
      {{W("Não Incidência ISSQN:"), "NS1 = "}, &TotalsReading::issqnNonIncidence},
  };
  std::string icmsRule = "----------ICMS----------";
  std::string issqnRule = "---------ISSQN----------";
  std::string taxHeader = W("Totalizador Base Cálculo");
  std::string totalIcms = "Total ICMS:";
  std::string totalIssqn = "Total ISSQN:";
  std::string nonFiscalRule = W("-----------TOTALIZADORES NÃO FISCAIS------------");
  std::string nonFiscalCancellations = W("CANC NÃO-FISC:");
  std::string nonFiscalDiscounts = W("DESC NÃO-FISC:");
  std::string nonFiscalSurcharges = W("ACRE NÃO-FISC:");
  std::string nonFiscalHeader = W("Nº Operação             CON Valor Acumulado");
  std::string nonFiscalTotal = W("Total Operações Não-Fiscais");
  std::string reportRule = W("--RELATÓRIO GERENCIAL---");
  std::string reportHeader = W("Nº Relatório");
  std::string paymentRule = "---MEIOS DE PAGAMENTO---";
  std::string paymentHeader = "No.  Meio Pagamento    TEF Valor Acumulado";
  std::string paymentHeaderWithoutTef = W("Nº   Meio Pagamento        Valor Acumulado");
  std::string notIssued = W("Comprovante Não Emitido:");
  std::string paymentEndRule = std::string(48, '-');
  std::string change = "TROCO";
};

const Labels& TheLabels() {
  static const Labels labels;
  return labels;
}

// Gives up to room bytes of the reading into `into`; 0 at its end.
using ReadingSource = std::function<size_t(char* into, size_t room)>;

// The reading's lines one by one, without their line ends, drawn from the
// source a piece at a time. A line is taken whole however long it is, up to
// kLongestReadingLine, so that no piece of it is read as a line of its own.
class LineReader {
 public:
  LineReader(ReadingSource source, size_t pieceBytes)
      : source_(std::move(source)), pieceBytes_(std::max<size_t>(pieceBytes, 1)) {}

  // The next line, valid until the next call; at the end gives false and an
  // empty line, which matches no label.
  bool Next(std::string_view& line) {
    line = {};
    while (true) {
      const size_t end = held_.find('\n', searched_);
      if (end != std::string::npos || (ended_ && start_ < held_.size())) {
        const size_t stop = end != std::string::npos ? end : held_.size();
        if (!skipping_ && stop - start_ <= kLongestReadingLine)
          line = std::string_view(held_).substr(start_, stop - start_);
        skipping_ = false;
        start_ = searched_ = stop + 1;
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
      }
      if (ended_) return false;
      // Only the line under way is kept; one too long for a reading is
      // dropped as it comes.
      held_.erase(0, start_);
      start_ = 0;
      if (skipping_ || held_.size() > kLongestReadingLine) {
        held_.clear();
        skipping_ = true;
      }
      searched_ = held_.size();
      held_.resize(searched_ + pieceBytes_);
      const size_t got = source_(held_.data() + searched_, pieceBytes_);
      held_.resize(searched_ + got);
      ended_ = got == 0;
    }
  }

 private:
  ReadingSource source_;
  size_t pieceBytes_;
  std::string held_;
  size_t start_ = 0;     // where the next line begins in held_
  size_t searched_ = 0;  // held_ before this holds no line end after start_
  bool ended_ = false;
  bool skipping_ = false;  // the line under way is too long to be one
};

class ReadingParser {
 public:
  ReadingParser(ReadingSource source, size_t pieceBytes) : lines_(std::move(source), pieceBytes) {}

  TotalsReading Parse() {
    std::string_view line;
    while (lines_.Next(line)) {
      for (const CounterLabel& counter : labels_.counters)
        if (Has(line, counter.text)) reading_.*counter.field = Counter(line, counter.digits);
      TakeAmounts(line, labels_.amounts);
      if (Has(line, labels_.icmsRule))
        TaxTable(line, labels_.totalIcms, reading_.icmsTotalizers, reading_.totalIcms);
      if (Has(line, labels_.issqnRule))
        TaxTable(line, labels_.totalIssqn, reading_.issqnTotalizers, reading_.totalIssqn);
      TakeAmounts(line, labels_.taxationAmounts);
      if (Has(line, labels_.nonFiscalRule)) NonFiscalSection(line);
      if (Has(line, labels_.reportRule)) ReportTable(line);
      if (Has(line, labels_.paymentRule)) PaymentTable(line);
    }
    return reading_;
  }

 private:
  void TakeAmounts(std::string_view line, const std::vector<AmountLabel>& amounts) {
    for (const AmountLabel& amount : amounts)
      for (const std::string& text : amount.texts)
        if (Has(line, text)) {
          reading_.*amount.field = Amount(line);
          break;
        }
  }

  // The base of each rate, in the order of the table; a row without a
  // rate keeps its place with zero.
  void TaxTable(std::string_view& line, const std::string& end,
                std::array<Cents, TotalsReading::kTaxTotalizers>& slots, Cents& total) {
    if (!lines_.Next(line) || !Has(line, labels_.taxHeader)) return;
    size_t slot = 0;
    while (lines_.Next(line) && !Has(line, end)) {
      if (slot < slots.size())
        slots[slot] = line.find('%') != line.npos ? AmountAfterMark(line, '%') : 0;
      ++slot;
    }
    if (Has(line, end)) total = AmountAfterMark(line, ':');
  }

  // Takes each of the labels in turn that the current line carries, moving
  // on a line after each one taken.
  void NonFiscalAdjustments(std::string_view& line, std::initializer_list<int> order) {
    const std::string* texts[] = {&labels_.nonFiscalCancellations, &labels_.nonFiscalDiscounts,
                                  &labels_.nonFiscalSurcharges};
    Cents* fields[] = {&reading_.nonFiscalCancellations, &reading_.nonFiscalDiscounts,
                       &reading_.nonFiscalSurcharges};
    for (int k : order)
      if (Has(line, *texts[k])) {
        *fields[k] = Amount(line);
        lines_.Next(line);
      }
  }

  // Printers word the adjustments either above or below the table.
  void NonFiscalSection(std::string_view& line) {
    if (!lines_.Next(line)) return;
    NonFiscalAdjustments(line, {0, 1, 2});
    if (Has(line, labels_.nonFiscalHeader)) {
      size_t slot = 0;
      while (lines_.Next(line) && !Has(line, labels_.nonFiscalTotal)) {
        const std::string_view row = From(line, kTableNumberColumns);
        const size_t colon = row.find(':');
        if (slot < TotalsReading::kNonFiscalSlots && colon != row.npos) {
          reading_.nonFiscalCounters[slot] =
              static_cast<int>(LeadingInteger(row.substr(colon + 1, kNonFiscalCounterColumns)));
          reading_.nonFiscalTotalizers[slot] = Amount(row);
        }
        ++slot;
      }
      if (Has(line, labels_.nonFiscalTotal)) reading_.nonFiscalTotal = Amount(line);
    }
    if (!lines_.Next(line)) return;
    NonFiscalAdjustments(line, {2, 1, 0});
  }

  void ReportTable(std::string_view& line) {
    if (!lines_.Next(line) || !Has(line, labels_.reportHeader)) return;
    size_t slot = 0;
    while (lines_.Next(line) && !Has(line, labels_.paymentRule)) {
      if (slot < TotalsReading::kReportSlots)
        reading_.managementReportCounters[slot] =
            Counter(From(line, kTableNumberColumns), kReportCounterColumns);
      ++slot;
    }
  }

  void PaymentTable(std::string_view& line) {
    if (!lines_.Next(line) ||
        !(Has(line, labels_.paymentHeader) || Has(line, labels_.paymentHeaderWithoutTef)))
      return;
    size_t slot = 0;
    while (lines_.Next(line) && !StartsWith(line, labels_.notIssued) &&
           !Has(line, labels_.paymentEndRule) && !StartsWith(line, labels_.change)) {
      if (slot < TotalsReading::kPaymentMeans) reading_.paymentMeans[slot] = Amount(line);
      ++slot;
    }
  }

  const Labels& labels_ = TheLabels();
  LineReader lines_;
  TotalsReading reading_;
};

}  // namespace

TotalsReading ParseReadingText(std::string_view text, size_t pieceBytes) {
  auto source = [text](char* into, size_t room) mutable {
    const size_t size = std::min(room, text.size());
    if (size > 0) std::memcpy(into, text.data(), size);
    text.remove_prefix(size);
    return size;
  };
  return ReadingParser(source, pieceBytes).Parse();
}

TotalsReading ParseReading(const std::string& path, bool* found) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  bool failed = fd < 0;
  auto source = [fd, &failed](char* into, size_t room) -> size_t {
    while (!failed) {
      const ssize_t got = ::read(fd, into, room);
      if (got >= 0) return static_cast<size_t>(got);
      if (errno != EINTR) failed = true;
    }
    return 0;
  };
  const TotalsReading reading = ReadingParser(source, kReadingPieceBytes).Parse();
  if (fd >= 0) ::close(fd);
  if (found) *found = !failed;
  // What was read of a file that could not be read to its end is no reading.
  return failed ? TotalsReading() : reading;
}

}  // namespace taloven
