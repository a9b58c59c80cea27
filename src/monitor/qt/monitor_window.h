#pragma once

#include <QDialog>
#include <vector>

#include "monitor/monitor_session.h"
#include "ui/app_settings.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace taloven {

// "Monitor de comunicação": stands between a point-of-sale program and the
// printer and lists each exchange as it passes. The rows are taken from the
// monitor's thread in batches by a timer, so the window keeps up with
// hundreds of exchanges a second.
class MonitorWindow : public QDialog {
  Q_OBJECT
 public:
  MonitorWindow(const AppSettings& settings, const CommandCatalogue& catalogue, Ui& ui,
                PortFactory& ports, QWidget* parent = nullptr);
  ~MonitorWindow() override;

  void done(int result) override;

 private:
  void StartMonitor();
  void StopMonitor();
  void TakeFresh();
  void ShowSelected();
  void ShowState();

  AppSettings settings_;
  Ui& ui_;
  MonitorSession session_;
  std::vector<MonitorEntry> entries_;
  QLineEdit* printerPort_;
  QLineEdit* programPath_;
  QPushButton* start_;
  QPushButton* stop_;
  QPushButton* save_;
  QLabel* status_;
  QTableWidget* table_;
  QPlainTextEdit* details_;
  QTimer* timer_;
};

}  // namespace taloven
