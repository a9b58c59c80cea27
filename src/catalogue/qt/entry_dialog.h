#pragma once

#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>
#include <string>

namespace taloven {

// What every entry dialog shares: the prompt (1108) above the dialog's own
// controls and the OK (1) and Cancel (2) buttons below them.
class EntryDialog : public QDialog {
  Q_OBJECT
 public:
  EntryDialog(const std::string& prompt, QWidget* parent);
  void SetPrompt(const QString& prompt);

 protected:
  // Where subclasses put their controls, between prompt and buttons.
  QVBoxLayout* Body() const { return body_; }
  QLabel* Prompt() const { return prompt_; }

 private:
  QLabel* prompt_;
  QVBoxLayout* body_;
};

}  // namespace taloven
