#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "support/scripted_ui.h"
#include "ui/qt/dialog_parent.h"

namespace taloven::testing {

// A scripted Ui that places its dialogs as the GUI's does, and records the
// tool windows it is asked to open with the window that was to own each.
class PlacingUi : public ScriptedUi, public DialogParent {
 public:
  struct Opened {
    std::string tool;    // "settings", "cliche" or "scanner"
    std::string detail;  // the port of the settings or the cliche
    QWidget* owner;
    AppSettings* settings;
  };

  QWidget* Parent() const override { return parent_; }
  void SetParent(QWidget* parent) override { parent_ = parent; }
  DialogParent* Placement() override { return this; }

  void OpenLinkSettings(AppSettings& settings) override {
    opened.push_back({"settings", settings.portName, parent_, &settings});
  }
  void OpenGraphicCliche(const std::string& portName) override {
    opened.push_back({"cliche", portName, parent_, nullptr});
  }
  void OpenScanner() override { opened.push_back({"scanner", "", parent_, nullptr}); }

  std::vector<Opened> opened;

 private:
  QWidget* parent_ = nullptr;
};

}  // namespace taloven::testing
