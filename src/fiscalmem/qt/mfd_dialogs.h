#pragma once

#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QRadioButton>
#include <QSpinBox>

#include "ui/ui.h"

namespace taloven {

// The interval of the journal operations: COOs (with the user number),
// dates, or the whole memory. Each choice enables its own fields only.
class MfdIntervalDialog : public QDialog {
  Q_OBJECT
 public:
  explicit MfdIntervalDialog(QWidget* parent = nullptr);
  MfdInterval Chosen() const;

 private:
  void EnableFields();

  QRadioButton *coos_, *dates_, *total_;
  QSpinBox *firstCoo_, *lastCoo_, *user_;
  QDateEdit *start_, *end_;
};

// The reading report of a fiscal-memory file: by Z-reduction counters or by
// dates, complete or simplified.
class MfReadingDialog : public QDialog {
  Q_OBJECT
 public:
  explicit MfReadingDialog(QWidget* parent = nullptr);
  MfReadingChoice Chosen() const;

 private:
  void EnableFields();

  QRadioButton *byCrz_, *byDate_;
  QSpinBox *firstCrz_, *lastCrz_;
  QDateEdit *start_, *end_;
  QCheckBox* simplified_;
};

}  // namespace taloven
