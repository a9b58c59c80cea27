#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "scanner/scanner_settings.h"

class QComboBox;

namespace taloven {

// "Configurar": the scanner's port and line, one list each. The caller
// stores Chosen() when exec() ended with Accepted.
class ScannerSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  // devices: serial devices present besides the COM names (USB scanners).
  ScannerSettingsDialog(const ScannerSettings& settings, const std::vector<std::string>& devices,
                        QWidget* parent = nullptr);

  ScannerSettings Chosen() const;

 private:
  std::string storedPort_;
  // The port list's entries as stored, so that a path goes back unchanged.
  std::vector<std::string> ports_;
  QComboBox* port_;
  QComboBox* baud_;
  QComboBox* bits_;
  QComboBox* parity_;
  QComboBox* stop_;
  QComboBox* handshake_;
};

}  // namespace taloven
