#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "resources/encoding.h"
#include "terminal_ui.h"

namespace taloven {
namespace {

bool AllDigits(const std::string& text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

std::optional<std::string> TerminalUi::TextEntry(const std::string& prompt, int limit,
                                                 const std::string& preset) {
  err_ << Out(prompt);
  if (!preset.empty()) err_ << " [" << Out(preset) << "]";
  err_ << ": " << std::flush;
  auto line = ReadLine();
  if (!line) return std::nullopt;
  if (line->empty()) return preset;
  if (limit > 0 && static_cast<int>(line->size()) > limit) line->resize(static_cast<size_t>(limit));
  return line;
}

std::optional<std::string> TerminalUi::LongText(const std::string& prompt, int limit,
                                                const std::string& preset) {
  return TextEntry(prompt, limit, preset);
}

std::optional<std::string> TerminalUi::Number(const std::string& prompt, int limit,
                                              const std::string& preset) {
  while (true) {
    auto text = TextEntry(prompt.empty() ? "Digite o valor" : prompt, limit, preset);
    if (!text || AllDigits(*text)) return text;
  }
}

std::optional<std::string> TerminalUi::Amount(const std::string& prompt, int integerDigits,
                                              int decimals, const std::string& preset) {
  while (true) {
    auto text = TextEntry(prompt, integerDigits + decimals + 1, preset);
    if (!text) return text;
    std::string digits;
    for (char c : *text)
      if (c != ',') digits += c;
    if (AllDigits(digits)) return digits;
  }
}

std::optional<PercentAnswer> TerminalUi::Percent(const std::string& prompt) {
  auto text = TextEntry(prompt + " (XX,XX)", 5, "");
  if (!text) return std::nullopt;
  auto comma = text->find(',');
  return PercentAnswer{text->substr(0, comma),
                       comma == std::string::npos ? "" : text->substr(comma + 1)};
}

std::optional<Date> TerminalUi::DateEntry(const std::string& prompt) {
  while (true) {
    auto text = TextEntry(prompt + " (dd/mm/aaaa)", 10, "");
    if (!text) return std::nullopt;
    Date date;
    if (std::sscanf(text->c_str(), "%d/%d/%d", &date.day, &date.month, &date.year) == 3)
      return date;
  }
}

std::optional<TimeAnswer> TerminalUi::TimeEntry(const std::string& prompt, bool) {
  while (true) {
    auto text = TextEntry(prompt + " (hh:mm:ss)", 8, "");
    if (!text) return std::nullopt;
    TimeAnswer answer;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    answer.date = {local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
    if (std::sscanf(text->c_str(), "%d:%d:%d", &answer.time.hour, &answer.time.minute,
                    &answer.time.second) == 3)
      return answer;
  }
}

std::optional<int> TerminalUi::Options(const std::string& prompt,
                                       const std::vector<std::string>& options) {
  err_ << Out(prompt) << "\n";
  for (size_t i = 0; i < options.size(); ++i)
    if (!options[i].empty()) err_ << "  " << i + 1 << ") " << Out(options[i]) << "\n";
  while (true) {
    auto text = TextEntry("", 2, "");
    if (!text) return std::nullopt;
    int choice = std::atoi(text->c_str());
    if (choice >= 1 && choice <= static_cast<int>(options.size()) &&
        !options[static_cast<size_t>(choice - 1)].empty())
      return choice;
  }
}

std::optional<ChequeFields> TerminalUi::ChequePositions(const ChequeFields& preset) {
  ChequeFields fields = preset;
  for (size_t i = 0; i < fields.size(); ++i) {
    auto value = Number("", 2, fields[i]);
    if (!value) return std::nullopt;
    fields[i] = *value;
  }
  return fields;
}

std::optional<ClicheAnswer> TerminalUi::ClicheEditor() {
  ClicheAnswer answer;
  for (size_t i = 0; i < 3; ++i) {
    auto line = TextEntry(W("Linha ") + std::to_string(i + 1), i == 2 ? 94 : 47, "");
    if (!line) return std::nullopt;
    answer.lines[i].text = *line;
  }
  return answer;
}

TaxRates TerminalUi::TaxRatePage(const TaxRates& preset, bool* accepted) {
  TaxRates rates = preset;
  if (accepted) *accepted = true;
  for (size_t i = 0; i < rates.rates.size(); ++i) {
    auto value =
        Number(W("Alíquota ") + (i < 9 ? "0" : "") + std::to_string(i + 1), 4, rates.rates[i]);
    if (!value) {
      if (accepted) *accepted = false;
      break;
    }
    rates.rates[i] = *value;
  }
  return rates;
}

}  // namespace taloven
