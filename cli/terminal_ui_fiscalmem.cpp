#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "base/encoding.h"
#include "terminal_ui.h"

// The fiscal-memory dialogs as prompts: Enter alone takes the value in
// brackets, an empty answer without one (or the end of the input) cancels.

namespace taloven {
namespace {

Date Today() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

std::string DateText(const Date& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", date.day, date.month, date.year);
  return text;
}

std::optional<long> AskRanged(TerminalUi& ui, std::ostream& err, const std::string& prompt,
                              long lowest, long highest, long preset) {
  while (true) {
    auto text = ui.TextEntry(prompt, 6, std::to_string(preset));
    if (!text) return std::nullopt;
    char* end = nullptr;
    const long value = std::strtol(text->c_str(), &end, 10);
    if (!text->empty() && *end == '\0' && value >= lowest && value <= highest) return value;
    err << ui.Out(W("Digite um número entre ") + std::to_string(lowest) + " e " +
                  std::to_string(highest) + ".")
        << "\n";
  }
}

std::optional<Date> AskDate(TerminalUi& ui, std::ostream& err, const std::string& prompt) {
  while (true) {
    auto text = ui.TextEntry(prompt, 10, DateText(Today()));
    if (!text) return std::nullopt;
    Date date;
    char extra = 0;
    if (std::sscanf(text->c_str(), "%d/%d/%d%c", &date.day, &date.month, &date.year, &extra) == 3 &&
        date.day >= 1 && date.day <= 31 && date.month >= 1 && date.month <= 12 && date.year >= 1)
      return date;
    err << ui.Out(W("Data inválida (dd/mm/aaaa).")) << "\n";
  }
}

}  // namespace

std::optional<std::vector<std::string>> TerminalUi::OpenFileNames(const std::string& title,
                                                                  const std::vector<FileFilter>&,
                                                                  bool several) {
  if (!title.empty()) err_ << Out(title) << "\n";
  std::vector<std::string> names;
  while (true) {
    err_ << (several ? "Arquivo (Enter encerra): " : "Arquivo: ") << std::flush;
    auto line = ReadLine();
    if (!line || line->empty()) break;
    names.push_back(*line);
    if (!several) break;
  }
  if (names.empty()) return std::nullopt;
  return names;
}

std::optional<MfdInterval> TerminalUi::MfdIntervalDialog() {
  auto kind = Options(W("Intervalo"), {W("COOs"), W("Datas"), W("Total Lógico")});
  if (!kind) return std::nullopt;
  MfdInterval interval;
  if (*kind == 1) {
    auto first = AskRanged(*this, err_, W("COO inicial"), 0, 999999, 0);
    auto last = first ? AskRanged(*this, err_, W("COO final"), 0, 999999, 0) : std::nullopt;
    auto user = last ? AskRanged(*this, err_, W("Usuário"), 0, 255, 1) : std::nullopt;
    if (!user) return std::nullopt;
    interval.firstCoo = *first;
    interval.lastCoo = *last;
    interval.user = static_cast<int>(*user);
  } else if (*kind == 2) {
    auto start = AskDate(*this, err_, W("Data inicial"));
    auto end = start ? AskDate(*this, err_, W("Data final")) : std::nullopt;
    if (!end) return std::nullopt;
    interval.kind = MfdInterval::Kind::Dates;
    interval.start = *start;
    interval.end = *end;
  } else {
    interval.kind = MfdInterval::Kind::Total;
  }
  return interval;
}

std::optional<MfReadingChoice> TerminalUi::MfReadingDialog() {
  auto kind = Options(W("Leitura da Memória Fiscal"), {W("LMF por CRZ"), W("LMF por Data")});
  if (!kind) return std::nullopt;
  MfReadingChoice choice;
  if (*kind == 1) {
    auto first = AskRanged(*this, err_, W("CRZ inicial"), 0, 999999, 0);
    auto last = first ? AskRanged(*this, err_, W("CRZ final"), 0, 999999, 0) : std::nullopt;
    if (!last) return std::nullopt;
    choice.firstCrz = *first;
    choice.lastCrz = *last;
  } else {
    auto start = AskDate(*this, err_, W("Data inicial"));
    auto end = start ? AskDate(*this, err_, W("Data final")) : std::nullopt;
    if (!end) return std::nullopt;
    choice.byDate = true;
    choice.start = *start;
    choice.end = *end;
  }
  auto simplified = Options(W("LMF simplificada?"), {W("Não"), W("Sim")});
  if (!simplified) return std::nullopt;
  choice.simplified = *simplified == 2;
  return choice;
}

}  // namespace taloven
