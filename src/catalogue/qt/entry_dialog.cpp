#include "catalogue/qt/entry_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include "catalogue/entry_forms.h"
#include "resources/qt/qt_text.h"

namespace taloven {

EntryDialog::EntryDialog(const std::string& prompt, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStr(32915));
  auto* layout = new QVBoxLayout(this);
  prompt_ = new QLabel(this);
  prompt_->setObjectName("1108");
  prompt_->setWordWrap(true);
  prompt_->setMinimumWidth(280);
  layout->addWidget(prompt_);
  SetPrompt(ToQt(prompt));
  body_ = new QVBoxLayout;
  layout->addLayout(body_);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("1");
  QPushButton* cancel = buttons->addButton(QStr(32820), QDialogButtonBox::RejectRole);
  cancel->setObjectName("2");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void EntryDialog::SetPrompt(const QString& prompt) {
  // A '&' in a prompt marks a shortcut on the buttons that show the same
  // text; the prompt shows the plain words.
  prompt_->setTextFormat(Qt::PlainText);
  prompt_->setText(ToQt(WithoutMnemonic(FromQt(prompt))));
  prompt_->setVisible(!prompt.isEmpty());
}

}  // namespace taloven
