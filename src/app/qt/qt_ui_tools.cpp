#include "app/qt/qt_ui.h"
#include "app/qt/settings_dialog.h"
#include "app/settings_apply.h"
#include "link/serial_devices.h"
#include "programming/qt/graphic_cliche_dialog.h"
#include "scanner/qt/scanner_window.h"

namespace taloven {

void QtUi::OpenLinkSettings(AppSettings& settings) {
  SettingsDialog dialog(parent_, ChoiceFromSettings(settings),
                        OfferedPortNames(PresentSerialDevices()));
  dialog.SetFilterLocked(true);
  dialog.SetModelLocked(true);
  dialog.OfferUsbSetup(settings.workingDirectory, *this);
  if (dialog.exec() == QDialog::Accepted) ApplyLinkSettings(dialog.Choice(), settings);
}

void QtUi::OpenGraphicCliche(const std::string& portName) {
  GraphicClicheDialog dialog(portName, *this, parent_);
  dialog.exec();
}

void QtUi::OpenScanner() {
  OpenScannerWindow(*this, parent_);
}

}  // namespace taloven
