#include <QDate>
#include <QInputDialog>
#include <QTime>

#include "app/qt/qt_ui.h"
#include "resources/qt/qt_text.h"

namespace taloven {
namespace {

std::optional<std::string> AskLine(QWidget* parent, const std::string& prompt, int limit,
                                   const std::string& preset) {
  bool ok = false;
  QString text = QInputDialog::getText(parent, QStr(32915), ToQt(prompt), QLineEdit::Normal,
                                       ToQt(preset), &ok);
  if (!ok) return std::nullopt;
  if (limit > 0) text.truncate(limit);
  return FromQt(text);
}

}  // namespace

std::optional<std::string> QtUi::TextEntry(const std::string& prompt, int limit,
                                           const std::string& preset) {
  return AskLine(parent_, prompt, limit, preset);
}

std::optional<std::string> QtUi::LongText(const std::string& prompt, int limit,
                                          const std::string& preset) {
  bool ok = false;
  QString text =
      QInputDialog::getMultiLineText(parent_, QStr(32915), ToQt(prompt), ToQt(preset), &ok);
  if (!ok) return std::nullopt;
  if (limit > 0) text.truncate(limit);
  return FromQt(text);
}

std::optional<std::string> QtUi::Number(const std::string& prompt, int limit,
                                        const std::string& preset) {
  return AskLine(parent_, prompt.empty() ? "Digite o valor" : prompt, limit, preset);
}

std::optional<std::string> QtUi::Amount(const std::string& prompt, int integerDigits, int decimals,
                                        const std::string& preset) {
  return AskLine(parent_, prompt, integerDigits + decimals, preset);
}

std::optional<PercentAnswer> QtUi::Percent(const std::string& prompt) {
  auto text = AskLine(parent_, prompt, 5, "00,00");
  if (!text) return std::nullopt;
  auto comma = text->find(',');
  return PercentAnswer{text->substr(0, comma),
                       comma == std::string::npos ? "" : text->substr(comma + 1)};
}

std::optional<Date> QtUi::DateEntry(const std::string& prompt) {
  auto text =
      AskLine(parent_, prompt, 10, QDate::currentDate().toString("dd/MM/yyyy").toStdString());
  if (!text) return std::nullopt;
  QDate date = QDate::fromString(ToQt(*text), "dd/MM/yyyy");
  if (!date.isValid()) return std::nullopt;
  return Date{date.day(), date.month(), date.year()};
}

std::optional<TimeAnswer> QtUi::TimeEntry(const std::string& prompt, bool) {
  auto text = AskLine(parent_, prompt, 8, QTime::currentTime().toString("HH:mm:ss").toStdString());
  if (!text) return std::nullopt;
  QTime time = QTime::fromString(ToQt(*text), "HH:mm:ss");
  if (!time.isValid()) return std::nullopt;
  QDate today = QDate::currentDate();
  return TimeAnswer{{today.day(), today.month(), today.year()},
                    {time.hour(), time.minute(), time.second()},
                    false};
}

std::optional<int> QtUi::Options(const std::string& prompt,
                                 const std::vector<std::string>& options) {
  QStringList items;
  for (const auto& option : options) items << ToQt(option);
  bool ok = false;
  QString chosen = QInputDialog::getItem(parent_, QStr(32915), ToQt(prompt), items, 0, false, &ok);
  if (!ok) return std::nullopt;
  return static_cast<int>(items.indexOf(chosen)) + 1;
}

std::optional<ChequeFields> QtUi::ChequePositions(const ChequeFields& preset) {
  ChequeFields fields = preset;
  for (auto& field : fields) {
    auto value = AskLine(parent_, "", 2, field);
    if (!value) return std::nullopt;
    field = *value;
  }
  return fields;
}

std::optional<ClicheAnswer> QtUi::ClicheEditor() {
  ClicheAnswer answer;
  for (int i = 0; i < 3; ++i) {
    auto line = AskLine(parent_, "", i == 2 ? 94 : 47, "");
    if (!line) return std::nullopt;
    answer.lines[static_cast<size_t>(i)].text = *line;
  }
  return answer;
}

TaxRates QtUi::TaxRatePage(const TaxRates& preset, bool* accepted) {
  TaxRates rates = preset;
  if (accepted) *accepted = true;
  for (auto& rate : rates.rates) {
    auto value = AskLine(parent_, "", 4, rate);
    if (!value) {
      if (accepted) *accepted = false;
      break;
    }
    rate = *value;
  }
  return rates;
}

}  // namespace taloven
