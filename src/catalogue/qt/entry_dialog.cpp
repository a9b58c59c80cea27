#include "catalogue/qt/entry_dialog.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPushButton>

#include "catalogue/entry_forms.h"
#include "resources/qt/dialog_buttons.h"
#include "resources/qt/qt_text.h"

namespace taloven {

EntryDialog::EntryDialog(const std::string& prompt, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStr(StrId::kProductName));
  auto* layout = new QVBoxLayout(this);
  prompt_ = new QLabel(this);
  prompt_->setObjectName("1108");
  prompt_->setWordWrap(true);
  prompt_->setMinimumWidth(280);
  layout->addWidget(prompt_);
  SetPrompt(ToQt(prompt));
  body_ = new QVBoxLayout;
  layout->addLayout(body_);
  const CloseRow buttons = AddOkCancelRow(this);
  ok_ = buttons.ok;
  cancel_ = buttons.cancel;
  layout->addWidget(buttons.box);
}

void EntryDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (focusPlaced_) return;
  focusPlaced_ = true;
  PutTheInputsFirst();
}

// The buttons exist before any subclass adds its inputs, so by creation
// order they would come first and take the keyboard.
void EntryDialog::PutTheInputsFirst() {
  QList<QWidget*> inputs;
  for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
    if (w == ok_ || w == cancel_ || !isAncestorOf(w) || !w->isVisibleTo(this) || !w->isEnabled() ||
        !(w->focusPolicy() & Qt::TabFocus))
      continue;
    // A spin box's own line edit goes with it.
    if (qobject_cast<QAbstractSpinBox*>(w->parentWidget())) continue;
    inputs << w;
  }
  if (inputs.isEmpty()) return;
  setTabOrder(inputs.last(), ok_);
  setTabOrder(ok_, cancel_);
  QWidget* first = inputs.first();
  first->setFocus(Qt::TabFocusReason);
  if (auto* line = qobject_cast<QLineEdit*>(first)) line->selectAll();
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(first)) spin->selectAll();
}

void EntryDialog::SetPrompt(const QString& prompt) {
  // A '&' in a prompt marks a shortcut on the buttons that show the same
  // text; the prompt shows the plain words.
  prompt_->setTextFormat(Qt::PlainText);
  prompt_->setText(ToQt(WithoutMnemonic(FromQt(prompt))));
  prompt_->setVisible(!prompt.isEmpty());
}

}  // namespace taloven
