#include "app/qt/qt_ui.h"
#include "fiscalmem/qt/mfd_dialogs.h"

namespace taloven {

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
