#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "link/serial_devices.h"
#include "scanner/scanner_settings.h"

class QComboBox;

namespace taloven {

// "Configurar": the scanner's port and line, one list each. The caller
// stores Chosen() when exec() ended with Accepted.
class ScannerSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  // devices: the lines for the serial devices present besides the COM
  // names (USB scanners), each stable name beside its device.
  ScannerSettingsDialog(const ScannerSettings& settings, const std::vector<PortLine>& devices,
                        QWidget* parent = nullptr);

  ScannerSettings Chosen() const;

 private:
  std::string storedPort_;
  QComboBox* port_;
  QComboBox* baud_;
  QComboBox* bits_;
  QComboBox* parity_;
  QComboBox* stop_;
  QComboBox* handshake_;
};

}  // namespace taloven
