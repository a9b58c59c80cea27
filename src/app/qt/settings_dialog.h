#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "app/settings_apply.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace taloven {

class Ui;

// The settings dialog (resource 187). It works on a copy: the caller takes
// Choice() back only when exec() ended with Accepted.
class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  // portNames: the lines the port list offers (see OfferedPortNames).
  SettingsDialog(QWidget* parent, const SettingsChoice& choice,
                 const std::vector<PortLine>& portNames);

  // Set before showing: lock the filter check box or the model list.
  void SetFilterLocked(bool locked);
  void SetModelLocked(bool locked);
  // What button 1304 does; without one the button is disabled.
  void SetUsbSetup(std::function<void()> setup);
  // The USB set-up every settings dialog offers, from whichever window it
  // was opened: the rule comes from workingDirectory's usb folder.
  void OfferUsbSetup(const std::string& workingDirectory, Ui& ui);

  SettingsChoice Choice() const;

 private:
  void UpdateOk();

  QComboBox* ports_;
  QComboBox* models_;
  QCheckBox* filter_;
  QCheckBox* results_;
  QCheckBox* extended_;
  QCheckBox* trace_;
  QPushButton* usbSetup_;
  QPushButton* ok_;
  std::function<void()> setup_;
};

}  // namespace taloven
