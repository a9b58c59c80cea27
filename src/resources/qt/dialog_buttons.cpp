#include "resources/qt/dialog_buttons.h"

#include "resources/qt/qt_text.h"

namespace taloven {
namespace {

QPushButton* AddButton(QDialogButtonBox* box, const RowButton& button,
                       QDialogButtonBox::StandardButton standard,
                       QDialogButtonBox::ButtonRole role) {
  QPushButton* added =
      button.text.isEmpty() ? box->addButton(standard) : box->addButton(button.text, role);
  added->setObjectName(button.name);
  return added;
}

}  // namespace

QPushButton* PlainButton(const QString& text, const QString& name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

CloseRow AddCloseRow(QDialog* dialog, const RowButton& ok, const RowButton& cancel) {
  CloseRow row{new QDialogButtonBox(dialog), nullptr, nullptr};
  row.ok = AddButton(row.box, ok, QDialogButtonBox::Ok, QDialogButtonBox::AcceptRole);
  row.cancel = AddButton(row.box, cancel, QDialogButtonBox::Cancel, QDialogButtonBox::RejectRole);
  QObject::connect(row.box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(row.box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return row;
}

CloseRow AddOkCancelRow(QDialog* dialog) {
  return AddCloseRow(dialog, {QString(), ControlName(1)}, {QStr(StrId::kCancel), ControlName(2)});
}

}  // namespace taloven
