#pragma once

#include <string>

#include "ui/app_settings.h"

namespace taloven {

// Where the GUI places the dialogs it raises; only the GUI knows its inside
// (ui/qt/dialog_parent.h).
class DialogParent;

// Windows: the tools one window opens from another, which belong to the
// program as a whole rather than to the window's own room. Where there are
// no windows, opening one does nothing.
class WindowUi {
 public:
  virtual ~WindowUi() = default;

  // The settings dialog for the link alone (port and display options; the
  // model and the menu filter stay); taken over into settings on OK.
  virtual void OpenLinkSettings(AppSettings&) {}
  // The graphic-cliché window for the printer on the port.
  virtual void OpenGraphicCliche(const std::string& /*portName*/) {}
  // The one scanner-capture window of the run.
  virtual void OpenScanner() {}

  // The GUI's placement of its dialogs, for a window that wants the dialogs
  // raised while it is up; nothing where no dialog has a parent.
  virtual DialogParent* Placement() { return nullptr; }
};

}  // namespace taloven
