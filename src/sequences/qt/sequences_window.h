#pragma once

#include <QDialog>

#include "sequences/sequence_editor.h"
#include "ui/qt/dialog_parent.h"

class QCheckBox;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace taloven {

// The sequences window (dialog 159): composes, edits, saves, deletes and
// runs command sequences. Its logic is SequenceEditor; this class only keeps
// the lists in step with it. Enter never closes it: only button 2 does.
class SequencesWindow : public QDialog {
  Q_OBJECT
 public:
  SequencesWindow(AppSettings& settings, Ui& ui, PortFactory& ports, Clock& clock,
                  QWidget* parent = nullptr);

  const SequenceEditor& Editor() const { return editor_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The buttons the layout places and the connections wire.
  struct Buttons {
    QPushButton *add, *remove, *create, *run, *save, *verify;
    QPushButton *cliche, *reference, *help, *config, *exit;
  };

  void BuildLayout();
  void CreateLists();
  Buttons CreateButtons();
  void CreateParameterTable();
  void CreateRunFields();
  QGridLayout* ListsGrid(const Buttons& buttons);
  QHBoxLayout* RunFieldsRow();
  QHBoxLayout* ButtonRow(const Buttons& buttons);
  void ConnectLists();
  void ConnectButtons(const Buttons& buttons);
  void FillGroups();
  void FillAvailable();
  void FillSavedNames();
  void FillSequenceCommands(int select);
  void ShowParameters();
  void ClearParameters();
  void SizeValueColumn();
  int SelectedCommand() const;
  QString SelectedSavedName() const;

  void Add();
  void RemoveSelected();
  void EditSelectedRows();
  void EditWholeCommand();
  void NewSequence();
  void SaveSequence();
  void DeleteSequence();
  void AfterReload();
  void RunSequence();
  void OpenSettings();
  void OpenHelp();
  void OpenReference();
  void OpenGraphicCliche();

  SequenceEditor editor_;
  Ui& ui_;
  QListWidget* groups_ = nullptr;
  QListWidget* available_ = nullptr;
  QListWidget* saved_ = nullptr;
  QListWidget* commands_ = nullptr;
  QTableWidget* parameters_ = nullptr;
  QPushButton* delete_ = nullptr;
  QCheckBox* stepByStep_ = nullptr;
  QLineEdit* wait_ = nullptr;
  QLineEdit* repetitions_ = nullptr;
  bool busy_ = false;  // a nested window is up
  // Entry dialogs and messages open over this window while it lives.
  DialogParentScope dialogParent_;
};

}  // namespace taloven
