#include "catalogue/qt/text_entry_dialogs.h"

#include <QRegularExpressionValidator>

#include "resources/qt/qt_text.h"

namespace taloven {

TextEntryDialog::TextEntryDialog(const std::string& prompt, int limit, const std::string& preset,
                                 QWidget* parent)
    : EntryDialog(prompt, parent), edit_(new QLineEdit(this)) {
  edit_->setObjectName("1169");
  if (limit > 0) edit_->setMaxLength(limit);
  edit_->setText(ToQt(preset));
  edit_->selectAll();
  Body()->addWidget(edit_);
}

std::string TextEntryDialog::Text() const {
  return FromQt(edit_->text());
}

LimitedTextEdit::LimitedTextEdit(int limit, QWidget* parent)
    : QPlainTextEdit(parent), limit_(limit) {
  // A tab is no character the printer's texts take; Tab moves on.
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, &LimitedTextEdit::Enforce);
}

std::string LimitedTextEdit::Text() const {
  QString text = toPlainText();
  text.replace('\n', "\r\n");
  return FromQt(text);
}

void LimitedTextEdit::SetText(const std::string& text) {
  QString plain = ToQt(text);
  plain.replace("\r\n", "\n");
  setPlainText(plain);
}

void LimitedTextEdit::Enforce() {
  if (limit_ <= 0 || static_cast<int>(Text().size()) <= limit_) {
    accepted_ = toPlainText();
    return;
  }
  // Refuse what was typed or pasted last: go back to the last text that fit,
  // or cut the too-long text that was set from outside.
  QString fitting = accepted_;
  if (fitting.isEmpty()) {
    fitting = toPlainText();
    while (!fitting.isEmpty() &&
           static_cast<int>(FromQt(fitting).size() + static_cast<size_t>(fitting.count('\n'))) >
               limit_)
      fitting.chop(1);
  }
  int caret = std::min(textCursor().position(), static_cast<int>(fitting.size()));
  QSignalBlocker block(this);
  setPlainText(fitting);
  accepted_ = fitting;
  QTextCursor cursor = textCursor();
  cursor.setPosition(caret);
  setTextCursor(cursor);
}

LongTextDialog::LongTextDialog(const std::string& prompt, int limit, const std::string& preset,
                               QWidget* parent)
    : EntryDialog(prompt, parent), edit_(new LimitedTextEdit(limit, this)) {
  edit_->setObjectName("1103");
  edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  edit_->SetText(preset);
  Body()->addWidget(edit_);
  resize(420, 260);
}

NumberDialog::NumberDialog(const std::string& prompt, int limit, const std::string& preset,
                           QWidget* parent)
    : EntryDialog(prompt.empty() ? "Digite o valor" : prompt, parent), edit_(new QLineEdit(this)) {
  edit_->setObjectName("1107");
  edit_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit_));
  if (limit > 0) edit_->setMaxLength(limit);
  edit_->setText(ToQt(preset));
  edit_->selectAll();
  Body()->addWidget(edit_);
}

std::string NumberDialog::Text() const {
  return FromQt(edit_->text());
}

}  // namespace taloven
