#include "catalogue/qt/number_dialogs.h"

#include <QHBoxLayout>
#include <QRegularExpressionValidator>

#include "catalogue/amount_text.h"
#include "resources/qt/qt_text.h"

namespace taloven {

AmountDialog::AmountDialog(const std::string& prompt, int integerDigits, int decimals,
                           const std::string& preset, QWidget* parent)
    : EntryDialog(prompt, parent), edit_(new QLineEdit(this)), decimals_(decimals) {
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(QStr(StrId::kAmount), this);
  label->setObjectName("1181");
  label->setBuddy(edit_);
  edit_->setObjectName("1308");
  edit_->setAlignment(Qt::AlignRight);
  edit_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9,]*"), edit_));
  edit_->setMaxLength(integerDigits + decimals + 1);
  edit_->setText(ToQt(InitialAmountText(preset, integerDigits, decimals)));
  edit_->selectAll();
  const bool shown = integerDigits > 0 && decimals > 0;
  label->setVisible(shown);
  edit_->setVisible(shown);
  connect(edit_, &QLineEdit::textEdited, this, &AmountDialog::Rewrite);
  row->addWidget(label);
  row->addWidget(edit_, 1);
  Body()->addLayout(row);
}

void AmountDialog::Rewrite() {
  AmountEdit edit = RewriteAmount(FromQt(edit_->text()), edit_->cursorPosition(), decimals_);
  QString text = ToQt(edit.text);
  if (text == edit_->text()) return;
  edit_->setText(text);
  edit_->setCursorPosition(edit.caret);
}

std::string AmountDialog::Digits() const {
  return AmountDigits(FromQt(edit_->text()));
}

namespace {

QLineEdit* TwoDigits(const char* id, QWidget* parent) {
  auto* edit = new QLineEdit("00", parent);
  edit->setObjectName(id);
  edit->setMaxLength(2);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("000") + 16);
  edit->setAlignment(Qt::AlignRight);
  return edit;
}

}  // namespace

PercentDialog::PercentDialog(const std::string& prompt, QWidget* parent)
    : EntryDialog(prompt, parent),
      integer_(TwoDigits("1065", this)),
      decimal_(TwoDigits("1066", this)) {
  decimal_->setAlignment(Qt::AlignLeft);
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(QStr(StrId::kPercentage), this);
  label->setObjectName("1206");
  label->setBuddy(integer_);
  row->addWidget(label);
  row->addStretch(1);
  row->addWidget(integer_);
  row->addWidget(new QLabel(",", this));
  row->addWidget(decimal_);
  row->addWidget(new QLabel("%", this));
  Body()->addLayout(row);
  integer_->selectAll();
}

PercentAnswer PercentDialog::Answer() const {
  return {FromQt(integer_->text()), FromQt(decimal_->text())};
}

}  // namespace taloven
