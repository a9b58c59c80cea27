#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <string>
#include <vector>

#include "catalogue/qt/entry_dialog.h"
#include "ui/ui.h"

namespace taloven {

// Up to twelve choices (165) on buttons 1052-1063; a button without text is
// hidden and pressing one ends the dialog with OK.
class OptionsDialog : public EntryDialog {
  Q_OBJECT
 public:
  static constexpr int kMostOptions = 12;
  OptionsDialog(const std::string& prompt, const std::vector<std::string>& options,
                QWidget* parent = nullptr);
  // The number, from 1, of the button pressed; 0 before any.
  int Chosen() const { return chosen_; }

 private:
  int chosen_ = 0;
};

// The thirteen cheque positions (146), two digits each.
class ChequePositionsDialog : public EntryDialog {
  Q_OBJECT
 public:
  explicit ChequePositionsDialog(const ChequeFields& preset, QWidget* parent = nullptr);
  ChequeFields Fields() const;

 private:
  std::array<QLineEdit*, 13> edits_{};
};

}  // namespace taloven
