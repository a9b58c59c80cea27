#pragma once

#include <array>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "printer/text850.h"

namespace taloven::emulator::testing {

// Reads an X reading back the way the totals verifier does: by the labels
// in its lines, counters in the last n characters, amounts in the last 12.
struct ParsedReading {
  std::map<std::string, double> values;  // by label (UTF-8)
  std::array<double, 16> icms{}, issqn{};
  std::array<int, 30> nonFiscalCounters{};
  std::array<double, 30> nonFiscalTotals{};
  std::array<int, 30> reportCounters{};
  std::array<double, 20> payments{};

  double operator[](const std::string& label) const {
    const auto found = values.find(label);
    return found == values.end() ? 0 : found->second;
  }
};

namespace detail {

inline double Amount(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (c != '.' && c != ',') digits.push_back(c);
  return std::atoll(digits.c_str()) * 0.01;
}
inline double LastTwelve(const std::string& line) {
  return Amount(line.size() > 12 ? line.substr(line.size() - 12) : line);
}
inline double AfterMark(const std::string& line, char mark) {
  const size_t at = line.find(mark);
  if (at == std::string::npos) return 0;
  std::string rest = line.substr(at + 1);
  const size_t comma = rest.find(',');
  if (comma != std::string::npos) rest = rest.substr(0, comma + 3);
  return Amount(rest);
}
inline int LastDigits(const std::string& line, size_t n) {
  return std::atoi(line.size() > n ? line.substr(line.size() - n).c_str() : line.c_str());
}
inline bool Has(const std::string& line, const char* utf8) {
  return line.find(Utf8To850(utf8)) != std::string::npos;
}

}  // namespace detail

inline ParsedReading ParseXReading(const std::string& text850) {
  using namespace detail;
  std::vector<std::string> lines;
  std::istringstream in(text850);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ParsedReading r;
  size_t i = 0;
  auto next = [&](std::string& line) {
    if (++i >= lines.size()) return false;
    line = lines[i];
    return true;
  };
  const std::pair<const char*, size_t> counters[] = {
      {"Contador de Reduções Z:", 4},       {"Contador de Reinício de Operação:", 3},
      {"Geral de Operação Não Fiscal:", 6}, {"Comprovante de Crédito ou Débito:", 4},
      {"Geral Oper. Não-Fiscal Canc.", 4},  {"Geral de Relatório Gerencial:", 6},
      {"Contador de Cupom Fiscal:", 6},     {"Cupom Fiscal Cancelado:", 4},
      {"Contador de Fita-Detalhe:", 6}};
  const char* amounts[] = {"TOTALIZADOR GERAL:",
                           "VENDA BRUTA DIÁRIA:",
                           "CANCELAMENTO ICMS:",
                           "DESCONTO ICMS",
                           "Total de ISSQN:",
                           "CANCELAMENTO ISSQN:",
                           "DESCONTO DE ISSQN:",
                           "VENDA LÍQUIDA:",
                           "ACRÉSCIMO ICMS:",
                           "ACRÉSCIMO ISSQN:",
                           "Substituição Tributária ICMS:",
                           "Isento ICMS:",
                           "Não Incidência ICMS:",
                           "Substituição Tributária ISSQN:",
                           "Isento ISSQN:",
                           "Não Incidência ISSQN:"};
  auto taxTable = [&](std::string& line, const char* end, std::array<double, 16>& slots) {
    if (!next(line) || !Has(line, "Totalizador Base Cálculo")) return;
    size_t slot = 0;
    while (next(line) && !Has(line, end)) {
      if (slot < slots.size())
        slots[slot] = line.find('%') == std::string::npos ? 0 : AfterMark(line, '%');
      ++slot;
    }
    r.values[end] = AfterMark(line, ':');
  };
  auto nonFiscalAdjustments = [&](std::string& line) {
    for (const char* label : {"CANC NÃO-FISC:", "DESC NÃO-FISC:", "ACRE NÃO-FISC:"})
      if (Has(line, label)) {
        r.values[label] = LastTwelve(line);
        if (!next(line)) return;
      }
  };
  for (; i < lines.size(); ++i) {
    std::string line = lines[i];
    for (const auto& [label, n] : counters)
      if (Has(line, label)) r.values[label] = LastDigits(line, n);
    for (const char* label : amounts)
      if (Has(line, label)) r.values[label] = LastTwelve(line);
    if (Has(line, "----------ICMS----------")) taxTable(line, "Total ICMS:", r.icms);
    if (Has(line, "---------ISSQN----------")) taxTable(line, "Total ISSQN:", r.issqn);
    if (Has(line, "-----------TOTALIZADORES NÃO FISCAIS------------") && next(line)) {
      nonFiscalAdjustments(line);
      if (Has(line, "Nº Operação             CON Valor Acumulado")) {
        size_t slot = 0;
        while (next(line) && !Has(line, "Total Operações Não-Fiscais")) {
          const std::string rest = line.substr(3);
          const size_t colon = rest.find(':');
          if (slot < 30 && colon != std::string::npos) {
            r.nonFiscalCounters[slot] = std::atoi(rest.substr(colon + 1, 5).c_str());
            r.nonFiscalTotals[slot] = LastTwelve(rest);
          }
          ++slot;
        }
        r.values["Total Operações Não-Fiscais"] = LastTwelve(line);
      }
      if (next(line)) nonFiscalAdjustments(line);
    }
    if (Has(line, "--RELATÓRIO GERENCIAL---") && next(line) && Has(line, "Nº Relatório")) {
      size_t slot = 0;
      while (next(line) && !Has(line, "---MEIOS DE PAGAMENTO---"))
        if (slot < 30) r.reportCounters[slot++] = LastDigits(line.substr(3), 4);
    }
    if (Has(line, "---MEIOS DE PAGAMENTO---") && next(line) &&
        Has(line, "Nº   Meio Pagamento        Valor Acumulado")) {
      size_t slot = 0;
      while (next(line) && line.rfind(Utf8To850("Comprovante Não Emitido:"), 0) != 0 &&
             line.find(std::string(48, '-')) == std::string::npos && line.rfind("TROCO", 0) != 0)
        if (slot < 20) r.payments[slot++] = LastTwelve(line);
    }
  }
  return r;
}

}  // namespace taloven::emulator::testing
