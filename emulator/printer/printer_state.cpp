#include "printer/printer_state.h"

#include "base/printer_models.h"
#include "printer/text850.h"

namespace taloven::emulator {

PrinterState DefaultPrinterState(const std::string& model) {
  PrinterState state;
  state.model = model;
  // A model built under another brand shows it on its tape.
  for (const PrinterModel& known : PrinterModels())
    if (known.name.substr(0, known.name.find(' ')) == model && !known.brand.empty())
      state.maker = known.brand;
  // The serial number carries the model's digits, as a maker stamps it.
  std::string digits;
  for (char c : model)
    if (c >= '0' && c <= '9') digits.push_back(c);
  state.serialNumber = "TV" + std::string(4 - std::min<size_t>(4, digits.size()), '0') +
                       digits.substr(0, 4) + "000000000001";
  state.cliche = Utf8To850(
      "      MERCADO BOA VISTA LTDA\n"
      "  Rua das Laranjeiras, 1234 - Centro\n"
      "     São Paulo - SP  CEP 01000-000");
  const std::pair<int, bool> rates[] = {{1800, false}, {1200, false}, {700, false}, {500, true}};
  for (const auto& [hundredths, iss] : rates) {
    state.taxRates[static_cast<size_t>(state.taxRateCount)].hundredths = hundredths;
    state.taxRates[static_cast<size_t>(state.taxRateCount)].iss = iss;
    state.taxRateCount++;
  }
  state.nonFiscal[0].name = "SANGRIA";
  state.nonFiscal[1].name = "SUPRIMENTO";
  state.nonFiscal[2].name = "RECEBIMENTO";
  state.payments[0].name = "Dinheiro";
  state.payments[1].name = "Cheque";
  state.payments[2] = {Utf8To850("Cartão"), true, 0, 0};
  state.reports[0].name = Utf8To850("RELATÓRIO GERAL");
  return state;
}

}  // namespace taloven::emulator
