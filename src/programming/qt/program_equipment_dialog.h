#pragma once

#include <QDialog>

#include "link/execute.h"
#include "programming/equipment_configuration.h"

namespace taloven {

// "Programar Equipamento": starts the programming of a printer from a
// stored configuration, from the printer's own or from the one in hand.
// Its configuration lives as long as the dialog, between runs.
class ProgramEquipmentDialog : public QDialog {
  Q_OBJECT
 public:
  ProgramEquipmentDialog(const AppSettings& settings, Ui& ui, PortFactory& ports, Clock& clock,
                         QWidget* parent = nullptr);
  const EquipmentConfiguration& Configuration() const { return configuration_; }

 private:
  void LoadStored();
  void ReadPrinter();
  void EditCurrent();
  // Closes the dialog when the pages were cancelled.
  void Finish(bool programmed);

  ExecutionContext context_;
  EquipmentConfiguration configuration_;
};

}  // namespace taloven
