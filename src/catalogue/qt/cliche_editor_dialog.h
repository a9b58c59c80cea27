#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <array>

#include "catalogue/qt/text_entry_dialogs.h"
#include "ui/ui.h"

namespace taloven {

// "Clichê do Proprietário" (180): three lines of owner text with their
// styles and one "Centralizado" for all; it always opens empty.
class ClicheEditorDialog : public QDialog {
  Q_OBJECT
 public:
  explicit ClicheEditorDialog(QWidget* parent = nullptr);
  ClicheAnswer Answer() const;

 private:
  struct LineControls {
    QCheckBox* underline;
    QCheckBox* italic;
    QCheckBox* emphasis;
    QCheckBox* expanded;
  };
  std::array<QLineEdit*, 2> shortLines_{};
  LimitedTextEdit* lastLine_ = nullptr;
  std::array<LineControls, 3> styles_{};
  QCheckBox* centred_;
};

}  // namespace taloven
