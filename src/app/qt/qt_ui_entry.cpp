#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/qt/qt_ui.h"
#include "catalogue/qt/choice_dialogs.h"
#include "catalogue/qt/cliche_editor_dialog.h"
#include "catalogue/qt/date_time_dialogs.h"
#include "catalogue/qt/number_dialogs.h"
#include "catalogue/qt/tax_rate_page.h"
#include "catalogue/qt/text_entry_dialogs.h"
#include "fiscalmem/qt/mfd_dialogs.h"
#include "resources/qt/dialog_buttons.h"
#include "resources/qt/qt_text.h"

namespace taloven {

std::optional<std::string> QtUi::TextEntry(const std::string& prompt, int limit,
                                           const std::string& preset) {
  TextEntryDialog dialog(prompt, limit, preset, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Text();
}

std::optional<std::string> QtUi::LongText(const std::string& prompt, int limit,
                                          const std::string& preset) {
  LongTextDialog dialog(prompt, limit, preset, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Text();
}

std::optional<std::string> QtUi::Number(const std::string& prompt, int limit,
                                        const std::string& preset) {
  NumberDialog dialog(prompt, limit, preset, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Text();
}

std::optional<std::string> QtUi::Amount(const std::string& prompt, int integerDigits, int decimals,
                                        const std::string& preset) {
  AmountDialog dialog(prompt, integerDigits, decimals, preset, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Digits();
}

std::optional<PercentAnswer> QtUi::Percent(const std::string& prompt) {
  PercentDialog dialog(prompt, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Answer();
}

std::optional<Date> QtUi::DateEntry(const std::string& prompt) {
  DateDialog dialog(prompt, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

std::optional<TimeAnswer> QtUi::TimeEntry(const std::string& prompt, bool clockMode) {
  TimeDialog dialog(prompt, clockMode, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Answer();
}

std::optional<int> QtUi::Options(const std::string& prompt,
                                 const std::vector<std::string>& options) {
  OptionsDialog dialog(prompt, options, parent_);
  if (dialog.exec() != QDialog::Accepted || dialog.Chosen() == 0) return std::nullopt;
  return dialog.Chosen();
}

std::optional<ChequeFields> QtUi::ChequePositions(const ChequeFields& preset) {
  ChequePositionsDialog dialog(preset, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Fields();
}

std::optional<ClicheAnswer> QtUi::ClicheEditor() {
  ClicheEditorDialog dialog(parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Answer();
}

TaxRates QtUi::TaxRatePage(const TaxRates& preset, bool* accepted) {
  // A property sheet of one page.
  QDialog sheet(parent_);
  sheet.setWindowTitle(QStr(StrId::kProductName));
  auto* layout = new QVBoxLayout(&sheet);
  auto* tabs = new QTabWidget(&sheet);
  auto* page = new taloven::TaxRatePage(tabs);
  page->Load(preset);
  tabs->addTab(page, page->windowTitle());
  // A sheet of one page: its tab is no stop for the keyboard.
  tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(tabs);
  layout->addWidget(AddOkCancelRow(&sheet).box);
  page->FocusFirstRate();
  const bool ok = sheet.exec() == QDialog::Accepted;
  if (accepted) *accepted = ok;
  return page->Read();
}

std::optional<MfdInterval> QtUi::MfdIntervalDialog() {
  taloven::MfdIntervalDialog dialog(parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

std::optional<MfReadingChoice> QtUi::MfReadingDialog() {
  taloven::MfReadingDialog dialog(parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

}  // namespace taloven
