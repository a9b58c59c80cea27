#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <vector>

#include "app/menu_model.h"
#include "catalogue/catalogue.h"
#include "ui/app_settings.h"

namespace taloven {

class Ui;
class PortFactory;
class Clock;

// The program's one main window: it holds the settings and the catalogue for
// the whole run, offers every command of the catalogue in its group's menu
// and opens the other tools. Closing it ends the program.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // Every message and window of the logic goes through ui; ports and clock
  // serve model detection and the commands.
  MainWindow(AppSettings settings, Ui& ui, PortFactory& ports, Clock& clock,
             QWidget* parent = nullptr);

  // Shows the window maximised, detects the printer, loads the catalogue
  // from the current directory and builds the menu bar.
  void Start();

  // Builds the menu bar anew from the catalogue and the current settings,
  // e.g. after the settings changed.
  void RebuildMenus();

  // The user chose catalogue command index (menu id 1083 + index).
  void OnCommandChosen(int index);

  AppSettings& Settings() { return settings_; }
  const CommandCatalogue& Catalogue() const { return catalogue_; }
  Ui& UserInterface() { return ui_; }
  PortFactory& Ports() { return ports_; }
  Clock& GetClock() { return clock_; }

 private:
  void OnMenu(int id);
  void OpenHelp();
  void OpenCommandReference();
  // The settings dialog: all five values are taken over on OK.
  void OpenSettings();
  void OpenSequences();
  void ShowAbout();
  // The fiscal-memory tools, modal, with the settings of the moment.
  void OpenMfd();
  void AddEntries(QMenu* menu, const std::vector<MenuEntry>& entries);

  AppSettings settings_;
  Ui& ui_;
  PortFactory& ports_;
  Clock& clock_;
  CommandCatalogue catalogue_;
  bool catalogueLoaded_ = false;
  QLabel* picture_;
};

}  // namespace taloven
