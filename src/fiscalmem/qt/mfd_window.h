#pragma once

#include <QDialog>

#include "fiscalmem/mfd_operations.h"

namespace taloven {

class Ui;

// The "MFD" window: no controls, only the menu of the fiscal-memory tools.
// Every item runs its operation to the end before the menu answers again.
class MfdWindow : public QDialog {
  Q_OBJECT
 public:
  MfdWindow(Ui& ui, const AppSettings& settings, QWidget* parent = nullptr);

 private:
  MfdOperations operations_;
};

}  // namespace taloven
