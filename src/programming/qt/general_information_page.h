#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <array>
#include <string>

#include "programming/equipment_configuration.h"
#include "ui/ui.h"

namespace taloven {

class Clock;

// "Informações Gerais": the owner's data, password, counters, clock,
// cliché and the operating flags of a configuration.
class GeneralInformationPage : public QWidget {
  Q_OBJECT
 public:
  // ui opens the cliché editor; clock gives "Carregar do computador" its time.
  GeneralInformationPage(Ui& ui, Clock& clock, QWidget* parent = nullptr);

  void Load(const EquipmentConfiguration& configuration);
  // Writes the page's fields into configuration; the rest stays.
  void Read(EquipmentConfiguration& configuration) const;

 private:
  struct TextField {
    const char* label;
    std::string EquipmentConfiguration::*member;
    int limit;
    const char* objectName;
  };
  struct FlagField {
    const char* label;
    bool EquipmentConfiguration::*member;
    const char* objectName;
  };
  static const std::array<TextField, 11> kTextFields;
  static const std::array<FlagField, 7> kFlagFields;

  void EditCliche();
  void LoadComputerClock();
  void ShowCliche();

  Ui& ui_;
  Clock& clock_;
  std::array<QLineEdit*, 11> edits_{};
  std::array<QCheckBox*, 7> flags_{};
  QPlainTextEdit* clicheView_;
  std::string cliche_;  // kept as held: the view only shows it
};

}  // namespace taloven
