#pragma once

#include <QLineEdit>
#include <string>

#include "catalogue/qt/entry_dialog.h"
#include "ui/ui.h"

namespace taloven {

// A money amount (134) in the right-aligned digits edit 1308, shown with
// its decimal comma while typing.
class AmountDialog : public EntryDialog {
  Q_OBJECT
 public:
  AmountDialog(const std::string& prompt, int integerDigits, int decimals,
               const std::string& preset, QWidget* parent = nullptr);
  // The digits without the comma.
  std::string Digits() const;

 private:
  void Rewrite();
  QLineEdit* edit_;
  int decimals_;
};

// A percentage (144): two digits before the comma in 1065, two after in 1066.
class PercentDialog : public EntryDialog {
  Q_OBJECT
 public:
  explicit PercentDialog(const std::string& prompt, QWidget* parent = nullptr);
  PercentAnswer Answer() const;

 private:
  QLineEdit* integer_;
  QLineEdit* decimal_;
};

}  // namespace taloven
