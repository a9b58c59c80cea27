#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

namespace taloven {

// What every entry dialog shares: the prompt (1108) above the dialog's own
// controls and the OK (1) and Cancel (2) buttons below them. It opens with
// the keyboard in its first input, the preset selected so that typing
// replaces it, Tab going through the inputs before the buttons, and Enter
// pressing OK.
class EntryDialog : public QDialog {
  Q_OBJECT
 public:
  EntryDialog(const std::string& prompt, QWidget* parent);
  void SetPrompt(const QString& prompt);

 protected:
  // Where subclasses put their controls, between prompt and buttons.
  QVBoxLayout* Body() const { return body_; }
  QLabel* Prompt() const { return prompt_; }
  void showEvent(QShowEvent* event) override;

 private:
  void PutTheInputsFirst();

  QLabel* prompt_;
  QVBoxLayout* body_;
  QPushButton* ok_;
  QPushButton* cancel_;
  bool focusPlaced_ = false;
};

}  // namespace taloven
