#pragma once

#include <QDialog>
#include <array>

#include "catalogue/command_dialog_logic.h"
#include "ui/qt/dialog_parent.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QGroupBox;

namespace taloven {

// The window of one command: its parameter rows, "Editar" per row, Ok to
// send (as often as wanted) and Cancel to close. It asks for the values as
// soon as it is first shown.
class CommandDialog : public QDialog {
  Q_OBJECT
 public:
  CommandDialog(CommandRecord record, const AppSettings& settings, Ui& ui, CommandSender& sender,
                QWidget* parent = nullptr);

  // Runs the opening collection (or the clock command) once; showing the
  // dialog does it by itself.
  void Begin();

  const CommandDialogLogic& Logic() const { return logic_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 public slots:
  void reject() override;

 private:
  struct RowWidgets {
    QLabel* label = nullptr;
    QLineEdit* value = nullptr;
    QPushButton* edit = nullptr;
  };

  void ShowRows();
  void EditRow(int row);
  void Send();

  CommandDialogLogic logic_;
  std::array<RowWidgets, CommandDialogLogic::kRowCount> rows_;
  QGroupBox* group_ = nullptr;
  QPushButton* ok_ = nullptr;
  bool begun_ = false;
  bool busy_ = false;  // asking, or sending: the nested windows are up
  // Entry dialogs open over this window while it lives.
  DialogParentScope dialogParent_;
};

}  // namespace taloven
