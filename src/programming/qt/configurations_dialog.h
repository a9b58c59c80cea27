#pragma once

#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QPlainTextEdit>
#include <optional>

#include "programming/configuration_chooser.h"

namespace taloven {

// "Carregar configurações existentes": finds a stored configuration by
// client or serial number, shows it, deletes it or hands it back on OK.
class ConfigurationsDialog : public QDialog {
  Q_OBJECT
 public:
  ConfigurationsDialog(const std::string& workingDirectory, Ui& ui, QWidget* parent = nullptr);
  // The record chosen when the dialog closed with OK.
  const std::optional<EquipmentConfiguration>& Chosen() const { return chooser_.Chosen(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillDropDowns();
  static void Fill(QComboBox* box, const std::vector<std::string>& entries);
  void Search();
  void SelectEntry();
  void Delete();
  void Load();

  ConfigurationChooser chooser_;
  QComboBox* clients_;
  QComboBox* serials_;
  QListWidget* found_;
  QPlainTextEdit* description_;
};

}  // namespace taloven
