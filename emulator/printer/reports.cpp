#include "printer/reports.h"

#include <cstdio>

#include "printer/bcd.h"
#include "printer/text850.h"

namespace taloven::emulator {
namespace {

class Report {
 public:
  // A label (UTF-8) with its value pushed to the right edge.
  void Row(std::string_view label, const std::string& value) { Raw(Utf8To850(label), value); }
  // Same, for a label already in the printer's code page.
  void Raw(const std::string& label, const std::string& value) {
    std::string line = label;
    const size_t used = line.size() + value.size();
    line.append(used < kLineWidth ? kLineWidth - used : 1, ' ');
    line += value;
    Line850(line);
  }
  void Line(std::string_view utf8) { Line850(Utf8To850(utf8)); }
  void Line850(const std::string& line) {
    text_ += line;
    text_ += '\n';
  }
  // A title centred in a line of dashes.
  void Rule(std::string_view title) {
    const std::string middle = Utf8To850(title);
    const size_t left = (kLineWidth - middle.size()) / 2;
    Line850(std::string(left, '-') + middle + std::string(kLineWidth - left - middle.size(), '-'));
  }
  void Centred(std::string_view title) {
    const std::string middle = Utf8To850(title);
    Line850(std::string((kLineWidth - middle.size()) / 2, ' ') + middle);
  }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

std::string Percent(int hundredths) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d,%02d%%", hundredths / 100, hundredths % 100);
  return buffer;
}

std::string DateTimeText(int64_t when) {
  const std::tm c = Calendar(when);
  char buffer[80];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", c.tm_mday, c.tm_mon + 1,
                c.tm_year + 1900, c.tm_hour, c.tm_min, c.tm_sec);
  return buffer;
}

// Names may not carry the ':' that separates a table's counter.
std::string TableName(const std::string& name, size_t width) {
  std::string out = Fit(name, width);
  for (char& c : out)
    if (c == ':') c = ' ';
  return out;
}

void Heading(Report& r, const PrinterState& state, int64_t now) {
  size_t start = 0;
  while (start < state.cliche.size()) {
    size_t end = state.cliche.find('\n', start);
    if (end == std::string::npos) end = state.cliche.size();
    std::string line;
    for (char c : state.cliche.substr(start, end - start))
      if (static_cast<uint8_t>(c) >= 0x20) line.push_back(c);  // styles do not go to the port
    if (!line.empty()) r.Line850(line);
    start = end + 1;
  }
  r.Line850("CNPJ " + state.cnpj);
  r.Line850("IE " + state.ie);
  r.Line850("IM " + state.im);
  r.Line850(std::string(kLineWidth, '-'));
  r.Raw(DateTimeText(now), "COO " + FormatCounter(state.coo, 6));
}

void TaxTable(Report& r, const PrinterState& state, bool iss) {
  r.Rule(iss ? "ISSQN" : "ICMS");
  r.Row("Totalizador Base Cálculo", "Imposto");
  Cents base = 0;
  for (int k = 0; k < state.taxRateCount; ++k) {
    const TaxRate& rate = state.taxRates[static_cast<size_t>(k)];
    if (rate.iss != iss) continue;
    char label[32];
    std::snprintf(label, sizeof label, "%02d%c %s", k + 1, iss ? 'S' : 'T',
                  Percent(rate.hundredths).c_str());
    const Cents tax = rate.total * rate.hundredths / 10000;
    std::string line = label;
    std::string amount = FormatMoney(rate.total);
    if (line.size() + amount.size() < 30) line.append(30 - line.size() - amount.size(), ' ');
    line += amount;
    r.Raw(line, FormatMoney(tax));
    base += rate.total;
  }
  r.Row(iss ? "Total ISSQN:" : "Total ICMS:", FormatMoney(base));
}

}  // namespace

std::string XReadingText(const PrinterState& state, int64_t now) {
  Report r;
  Heading(r, state, now);
  r.Centred("LEITURA X");
  r.Row("Contador de Reduções Z:", FormatCounter(state.crz, 4));
  r.Row("Contador de Reinício de Operação:", FormatCounter(state.cro, 3));
  r.Row("Contador de Cupom Fiscal:", FormatCounter(state.ccf, 6));
  r.Row("Geral de Operação Não Fiscal:", FormatCounter(state.gnf, 6));
  r.Row("Comprovante de Crédito ou Débito:", FormatCounter(state.cdc, 4));
  r.Row("Geral de Relatório Gerencial:", FormatCounter(state.grg, 6));
  r.Row("Geral Oper. Não-Fiscal Canc.:", FormatCounter(state.ncn, 4));
  r.Row("Cupom Fiscal Cancelado:", FormatCounter(state.cfc, 4));
  r.Row("Contador de Fita-Detalhe:", FormatCounter(state.cfd, 6));

  const DayTotals& d = state.day;
  const Cents net = d.gross - d.icmsCancelled - d.issCancelled - d.icmsDiscount - d.issDiscount +
                    d.icmsSurcharge + d.issSurcharge;
  r.Row("TOTALIZADOR GERAL:", FormatMoney(state.grandTotal));
  r.Row("VENDA BRUTA DIÁRIA:", FormatMoney(d.gross));
  r.Row("CANCELAMENTO ICMS:", FormatMoney(d.icmsCancelled));
  r.Row("DESCONTO ICMS:", FormatMoney(d.icmsDiscount));
  r.Row("ACRÉSCIMO ICMS:", FormatMoney(d.icmsSurcharge));
  r.Row("CANCELAMENTO ISSQN:", FormatMoney(d.issCancelled));
  r.Row("DESCONTO DE ISSQN:", FormatMoney(d.issDiscount));
  r.Row("ACRÉSCIMO ISSQN:", FormatMoney(d.issSurcharge));
  r.Row("VENDA LÍQUIDA:", FormatMoney(net));

  TaxTable(r, state, false);
  r.Row("Substituição Tributária ICMS:", FormatMoney(d.icmsSubstitution));
  r.Row("Isento ICMS:", FormatMoney(d.icmsExempt));
  r.Row("Não Incidência ICMS:", FormatMoney(d.icmsNonIncidence));
  TaxTable(r, state, true);
  r.Row("Substituição Tributária ISSQN:", FormatMoney(d.issSubstitution));
  r.Row("Isento ISSQN:", FormatMoney(d.issExempt));
  r.Row("Não Incidência ISSQN:", FormatMoney(d.issNonIncidence));
  Cents iss = d.issSubstitution + d.issExempt + d.issNonIncidence;
  for (const auto& rate : state.taxRates)
    if (rate.iss) iss += rate.total;
  r.Row("Total de ISSQN:", FormatMoney(iss));

  r.Rule("TOTALIZADORES NÃO FISCAIS");
  r.Row("CANC NÃO-FISC:", FormatMoney(d.nonFiscalCancelled));
  r.Row("DESC NÃO-FISC:", FormatMoney(d.nonFiscalDiscount));
  r.Row("ACRE NÃO-FISC:", FormatMoney(d.nonFiscalSurcharge));
  r.Line("Nº Operação             CON Valor Acumulado");
  Cents nonFiscal = 0;
  for (int k = 0; k < kNonFiscalSlots; ++k) {
    const NonFiscalTotalizer& t = state.nonFiscal[static_cast<size_t>(k)];
    if (t.name.empty()) continue;
    char number[8];
    std::snprintf(number, sizeof number, "%02d ", k + 1);
    r.Raw(number + TableName(t.name, 18) + ":" + FormatCounter(t.count, 5), FormatMoney(t.total));
    nonFiscal += t.total;
  }
  r.Row("Total Operações Não-Fiscais:", FormatMoney(nonFiscal));
  r.Line("");

  r.Rule("RELATÓRIO GERENCIAL");
  r.Row("Nº Relatório", "CER");
  for (int k = 0; k < kReportSlots; ++k) {
    const ManagementReport& report = state.reports[static_cast<size_t>(k)];
    if (report.name.empty()) continue;
    char number[8];
    std::snprintf(number, sizeof number, "%02d ", k + 1);
    r.Raw(number + TableName(report.name, 17), FormatCounter(report.count, 4));
  }

  r.Rule("MEIOS DE PAGAMENTO");
  r.Line("Nº   Meio Pagamento        Valor Acumulado");
  for (int k = 0; k < kPaymentSlots; ++k) {
    const PaymentForm& form = state.payments[static_cast<size_t>(k)];
    if (form.name.empty()) continue;
    char number[8];
    std::snprintf(number, sizeof number, "%02d   ", k + 1);
    r.Raw(number + TableName(form.name, 16), FormatMoney(form.total));
  }
  r.Row("TROCO", FormatMoney(d.change));
  r.Line850(std::string(kLineWidth, '-'));
  r.Raw("FAB:" + state.serialNumber, state.firmware);
  return r.Take();
}

std::string FiscalMemoryText(const PrinterState& state, const std::vector<ZRecord>& reductions,
                             int64_t now) {
  Report r;
  Heading(r, state, now);
  r.Centred("LEITURA DA MEMÓRIA FISCAL");
  for (const ZRecord& z : reductions) {
    r.Line850(std::string(kLineWidth, '-'));
    r.Row("CRZ:", FormatCounter(z.crz, 4));
    r.Row("COO:", FormatCounter(z.coo, 6));
    r.Row("Data:", DateTimeText(z.when));
    r.Row("VENDA BRUTA DIÁRIA:", FormatMoney(z.gross));
    r.Row("TOTALIZADOR GERAL:", FormatMoney(z.grandTotal));
  }
  r.Line850(std::string(kLineWidth, '-'));
  r.Row("Reduções no intervalo:", FormatCounter(static_cast<int64_t>(reductions.size()), 4));
  return r.Take();
}

}  // namespace taloven::emulator
