#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>

#include "catalogue/qt/entry_dialog.h"

namespace taloven {

// One line of text (160) in edit 1169, at most `limit` characters.
class TextEntryDialog : public EntryDialog {
  Q_OBJECT
 public:
  TextEntryDialog(const std::string& prompt, int limit, const std::string& preset,
                  QWidget* parent = nullptr);
  std::string Text() const;

 private:
  QLineEdit* edit_;
};

// A multi-line edit that refuses typing beyond `limit` Windows-1252
// characters, each line break counted as the CR LF it becomes.
class LimitedTextEdit : public QPlainTextEdit {
  Q_OBJECT
 public:
  LimitedTextEdit(int limit, QWidget* parent = nullptr);
  // The text with CR LF line ends.
  std::string Text() const;
  void SetText(const std::string& text);

 private:
  void Enforce();
  int limit_;
  QString accepted_;
};

// Long text (142) in the scrolling multi-line edit 1103.
class LongTextDialog : public EntryDialog {
  Q_OBJECT
 public:
  LongTextDialog(const std::string& prompt, int limit, const std::string& preset,
                 QWidget* parent = nullptr);
  std::string Text() const { return edit_->Text(); }

 private:
  LimitedTextEdit* edit_;
};

// Digits only (145) in edit 1107; limit 0 means no limit.
class NumberDialog : public EntryDialog {
  Q_OBJECT
 public:
  NumberDialog(const std::string& prompt, int limit, const std::string& preset,
               QWidget* parent = nullptr);
  std::string Text() const;

 private:
  QLineEdit* edit_;
};

}  // namespace taloven
