#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "catalogue/command_dialog_logic.h"

namespace taloven {

// The window of one command (130): twelve parameter rows, "Ok" to send and
// Cancel to close. It stays open after sending, and Enter does not close it.
class CommandDialog : public QDialog {
  Q_OBJECT
 public:
  CommandDialog(CommandRecord record, ExecutionContext& context, QWidget* parent = nullptr);

  // Shows the window, collects the values and runs it modally.
  int Run();
  const CommandDialogLogic& Logic() const { return logic_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Row {
    QLabel* label;
    QLineEdit* value;
    QPushButton* edit;
  };
  void Refresh();
  void TakeTexts();
  void Send();

  CommandDialogLogic logic_;
  ExecutionContext& context_;
  std::array<Row, CommandDialogLogic::kRows> rows_{};
};

}  // namespace taloven
