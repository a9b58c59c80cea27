#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "base/encoding.h"
#include "catalogue/amount_text.h"
#include "catalogue/entry_forms.h"
#include "resources/strings.h"
#include "terminal_ui.h"

// Each entry dialog as a prompt: Enter alone accepts the value shown in
// brackets, an empty answer without one (or the end of the input) cancels.
// A wrong answer is said so and asked again; nothing is cut silently.

namespace taloven {
namespace {

bool AllDigits(const std::string& text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::tm Now() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

std::string DayMonthYear(const std::tm& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900);
  return text;
}

bool ValidDate(const Date& d) {
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (d.month < 1 || d.month > 12 || d.day < 1 || d.year < 1) return false;
  bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
  return d.day <= (d.month == 2 && !leap ? 28 : kDays[d.month - 1]);
}

}  // namespace

std::optional<std::string> TerminalUi::TextEntry(const std::string& prompt, int limit,
                                                 const std::string& preset) {
  while (true) {
    err_ << Out(WithoutMnemonic(prompt));
    if (!preset.empty()) err_ << " [" << Out(preset) << "]";
    err_ << ": " << std::flush;
    auto line = ReadLine();
    if (!line) return std::nullopt;
    if (line->empty()) {
      if (preset.empty()) return std::nullopt;
      return preset;
    }
    if (limit <= 0 || static_cast<int>(line->size()) <= limit) return line;
    err_ << Out(W("No máximo ")) << limit << Out(W(" caracteres.")) << "\n";
  }
}

std::optional<std::string> TerminalUi::LongText(const std::string& prompt, int limit,
                                                const std::string& preset) {
  // One line per answer; a "\n" typed stands for a line break.
  auto text = TextEntry(prompt + W(" (\\n = nova linha)"), limit, preset);
  if (!text) return text;
  std::string joined;
  for (size_t i = 0; i < text->size(); ++i) {
    if ((*text)[i] == '\\' && i + 1 < text->size() && (*text)[i + 1] == 'n') {
      joined += "\r\n";
      ++i;
    } else {
      joined += (*text)[i];
    }
  }
  if (limit > 0 && static_cast<int>(joined.size()) > limit) {
    err_ << Out(W("No máximo ")) << limit << Out(W(" caracteres.")) << "\n";
    return LongText(prompt, limit, preset);
  }
  return joined;
}

std::optional<std::string> TerminalUi::Number(const std::string& prompt, int limit,
                                              const std::string& preset) {
  while (true) {
    auto text = TextEntry(prompt.empty() ? "Digite o valor" : prompt, limit, preset);
    if (!text || AllDigits(*text)) return text;
    err_ << Out(W("Digite apenas algarismos.")) << "\n";
  }
}

std::optional<std::string> TerminalUi::Amount(const std::string& prompt, int integerDigits,
                                              int decimals, const std::string& preset) {
  const std::string shown = InitialAmountText(preset, integerDigits, decimals);
  while (true) {
    auto text = TextEntry(prompt, integerDigits + decimals + 1, shown);
    if (!text) return text;
    // The comma may be typed or left out; the last digits are the decimals.
    std::string digits = AmountDigits(*text);
    size_t comma = text->find(',');
    if (comma != std::string::npos) {
      std::string decimalsTyped = AmountDigits(text->substr(comma + 1));
      if (static_cast<int>(decimalsTyped.size()) > decimals)
        digits.clear();
      else
        digits += std::string(static_cast<size_t>(decimals) - decimalsTyped.size(), '0');
    }
    if (!digits.empty() && AllDigits(digits) &&
        static_cast<int>(digits.size()) <= integerDigits + decimals)
      return digits;
    err_ << Out(W("Valor inválido: até ")) << integerDigits << Out(W(" algarismos inteiros e "))
         << decimals << Out(W(" decimais.")) << "\n";
  }
}

std::optional<PercentAnswer> TerminalUi::Percent(const std::string& prompt) {
  while (true) {
    auto text = TextEntry(prompt + " (XX,XX %)", 5, "00,00");
    if (!text) return std::nullopt;
    auto comma = text->find(',');
    PercentAnswer answer{text->substr(0, comma),
                         comma == std::string::npos ? "" : text->substr(comma + 1)};
    if (answer.integerPart.size() <= 2 && answer.decimalPart.size() <= 2 &&
        AllDigits(answer.integerPart) && AllDigits(answer.decimalPart))
      return answer;
    err_ << Out(W("Percentual inválido.")) << "\n";
  }
}

std::optional<Date> TerminalUi::DateEntry(const std::string& prompt) {
  const std::string today = DayMonthYear(Now());
  while (true) {
    auto text = TextEntry(prompt.empty() ? "Digite a data" : prompt, 10, today);
    if (!text) return std::nullopt;
    Date date;
    char end = 0;
    if (std::sscanf(text->c_str(), "%d/%d/%d%c", &date.day, &date.month, &date.year, &end) != 3 ||
        !ValidDate(date)) {
      err_ << Out(W("Data inválida (dd/mm/aaaa).")) << "\n";
      continue;
    }
    char shown[32];
    std::snprintf(shown, sizeof shown, "%02d/%02d/%02d", date.day, date.month, date.year % 100);
    if (Message(Str(StrId::kDateCorrect) + "\r\n" + shown, Str(StrId::kProductName),
                MessageButtons::YesNo, MessageIcon::Exclamation) == MessageAnswer::Yes)
      return date;
  }
}

std::optional<TimeAnswer> TerminalUi::TimeEntry(const std::string& prompt, bool clockMode) {
  while (true) {
    std::tm now = Now();
    char clock[32];
    std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", now.tm_hour, now.tm_min, now.tm_sec);
    std::string shownPrompt = prompt;
    if (clockMode) {
      err_ << Out(Str(StrId::kAcceptComputerClock)) << "\n"
           << Out(Str(StrId::kDate)) << ": " << DayMonthYear(now) << "\n";
      shownPrompt = Str(StrId::kTime);
    }
    auto text = TextEntry(shownPrompt + " (hh:mm:ss)", 8, clock);
    if (!text) return std::nullopt;
    TimeAnswer answer;
    // In clock mode Enter takes the moment it is pressed, not the one shown.
    if (clockMode && *text == clock) {
      now = Now();
      answer.time = {now.tm_hour, now.tm_min, now.tm_sec};
    } else {
      char end = 0;
      if (std::sscanf(text->c_str(), "%d:%d:%d%c", &answer.time.hour, &answer.time.minute,
                      &answer.time.second, &end) != 3 ||
          answer.time.hour < 0 || answer.time.hour > 23 || answer.time.minute < 0 ||
          answer.time.minute > 59 || answer.time.second < 0 || answer.time.second > 59) {
        err_ << Out(W("Hora inválida (hh:mm:ss).")) << "\n";
        continue;
      }
    }
    answer.date = {now.tm_mday, now.tm_mon + 1, now.tm_year + 1900};
    if (clockMode)
      answer.summerTime =
          Message(Str(StrId::kDaylightSaving) + "?", Str(StrId::kProductName),
                  MessageButtons::YesNo, MessageIcon::Question) == MessageAnswer::Yes;
    return answer;
  }
}

std::optional<int> TerminalUi::Options(const std::string& prompt,
                                       const std::vector<std::string>& options) {
  if (!prompt.empty()) err_ << Out(WithoutMnemonic(prompt)) << "\n";
  for (size_t i = 0; i < options.size(); ++i)
    if (!options[i].empty())
      err_ << "  " << i + 1 << ") " << Out(WithoutMnemonic(options[i])) << "\n";
  while (true) {
    auto text = TextEntry(W("Opção"), 2, "");
    if (!text) return std::nullopt;
    int choice = AllDigits(*text) ? std::atoi(text->c_str()) : 0;
    if (choice >= 1 && choice <= static_cast<int>(options.size()) &&
        !options[static_cast<size_t>(choice - 1)].empty())
      return choice;
    err_ << Out(W("Escolha um dos números da lista.")) << "\n";
  }
}

std::optional<ChequeFields> TerminalUi::ChequePositions(const ChequeFields& preset) {
  static const char* const kNames[13] = {
      "Valor X",     "Valor Y",      "Extenso 1 X",  "Extenso 1 Y", "Extenso 2 X",
      "Extenso 2 Y", "Favorecido X", "Favorecido Y", "Local X",     "Local Y",
      "Dia X",       "Mês X",        "Ano X"};
  ChequeFields fields = preset;
  for (size_t i = 0; i < fields.size(); ++i) {
    auto value = Number(W(kNames[i]), 2, fields[i]);
    if (!value) return std::nullopt;
    fields[i] = *value;
  }
  return fields;
}

std::optional<ClicheAnswer> TerminalUi::ClicheEditor() {
  err_ << Out(W("Clichê do Proprietário")) << "\n";
  ClicheAnswer answer;
  for (size_t i = 0; i < 3; ++i) {
    const int limit = i == 2 ? 94 : 47;
    std::optional<std::string> line;
    while (true) {
      err_ << Out(W("Linha ") + std::to_string(i + 1)) << ": " << std::flush;
      line = ReadLine();
      if (!line) return std::nullopt;
      if (static_cast<int>(line->size()) <= limit) break;
      err_ << Out(W("No máximo ")) << limit << Out(W(" caracteres.")) << "\n";
    }
    answer.lines[i].text = *line;
    auto styles =
        TextEntry(W("Estilos (S sublinhado, I itálico, E enfatizado, X expandido)"), 4, "-");
    if (!styles) return std::nullopt;
    for (char c : *styles) {
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      answer.lines[i].underline |= c == 'S';
      answer.lines[i].italic |= c == 'I';
      answer.lines[i].emphasis |= c == 'E';
      answer.lines[i].expanded |= c == 'X';
    }
  }
  answer.centred = Message("Centralizado?", Str(StrId::kProductName), MessageButtons::YesNo,
                           MessageIcon::Question) == MessageAnswer::Yes;
  return answer;
}

TaxRates TerminalUi::TaxRatePage(const TaxRates& preset, bool* accepted) {
  TaxRates rates = preset;
  if (accepted) *accepted = false;
  err_ << Out(W("Alíquotas (XXXX = XX,XX %)")) << "\n";
  for (size_t i = 0; i < rates.rates.size(); ++i) {
    std::string shown = rates.rates[i].empty() ? "0000" : rates.rates[i];
    auto value = Number(W("Alíquota ") + (i < 9 ? "0" : "") + std::to_string(i + 1), 4, shown);
    if (!value) return rates;
    rates.rates[i] = *value;
  }
  std::string linkage = preset.linkage.size() == 16 ? preset.linkage : std::string(16, '0');
  for (char& c : linkage) c = c == '0' ? '0' : '1';
  while (true) {
    auto typed =
        TextEntry(W("Vínculo ISS, um algarismo por alíquota (0 ICMS, 1 ISS)"), 16, linkage);
    if (!typed) return rates;
    if (typed->size() == 16 && typed->find_first_not_of("01") == std::string::npos) {
      rates.linkage = *typed;
      break;
    }
    err_ << Out(W("Digite 16 algarismos 0 ou 1.")) << "\n";
  }
  if (accepted) *accepted = true;
  return rates;
}

}  // namespace taloven
