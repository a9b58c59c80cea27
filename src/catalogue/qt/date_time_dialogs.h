#pragma once

#include <QCheckBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <functional>
#include <string>

#include "catalogue/qt/entry_dialog.h"
#include "ui/ui.h"

namespace taloven {

// A date (132) in picker 1249, today at first; OK asks "A data está
// correta?" and only Yes ends the dialog.
class DateDialog : public EntryDialog {
  Q_OBJECT
 public:
  explicit DateDialog(const std::string& prompt, QWidget* parent = nullptr);
  Date Chosen() const;
  // Asks the confirmation question; tests answer it themselves.
  std::function<bool(const QString& question)> confirm;

  void accept() override;

 private:
  QDateEdit* picker_;
};

// A time (133) in picker 1250, now at first. In clock mode the picker runs
// with the computer's clock, so OK gives the moment it was pressed, and the
// summer-time box 1297 is offered.
class TimeDialog : public EntryDialog {
  Q_OBJECT
 public:
  TimeDialog(const std::string& prompt, bool clockMode, QWidget* parent = nullptr);
  TimeAnswer Answer() const { return answer_; }

  void accept() override;

 private:
  QTimeEdit* picker_;
  QCheckBox* summerTime_;
  QTimer clock_;
  TimeAnswer answer_;
};

}  // namespace taloven
