#include "programming/qt/program_equipment_dialog.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "programming/programming_session.h"
#include "programming/qt/configurations_dialog.h"
#include "programming/qt/programming_sheet.h"
#include "ui/qt/help_key.h"

namespace taloven {

ProgramEquipmentDialog::ProgramEquipmentDialog(const AppSettings& settings, Ui& ui,
                                               PortFactory& ports, Clock& clock, QWidget* parent)
    : QDialog(parent), context_{settings, ui, ports, clock} {
  setWindowTitle("Programar Equipamento");
  AddHelpKey(this, ui, HelpTopic::kProgramming);
  auto* layout = new QVBoxLayout(this);
  struct Button {
    const char* text;
    const char* name;
    void (ProgramEquipmentDialog::*action)();
  } buttons[] = {
      {"Carregar configurações existentes", "loadStored", &ProgramEquipmentDialog::LoadStored},
      {"Carregar configurações do equipamemto", "readPrinter",
       &ProgramEquipmentDialog::ReadPrinter},
      {"Nova Configuração de equipamento", "editCurrent", &ProgramEquipmentDialog::EditCurrent},
  };
  for (const Button& b : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(b.text), this);
    button->setObjectName(b.name);
    connect(button, &QPushButton::clicked, this, b.action);
    layout->addWidget(button);
  }
  auto* cancel = new QPushButton("Cancelar", this);
  cancel->setObjectName("2");
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(cancel);
}

void ProgramEquipmentDialog::Finish(bool programmed) {
  if (!programmed) reject();
}

void ProgramEquipmentDialog::LoadStored() {
  ConfigurationsDialog chooser(context_.settings.workingDirectory, context_.ui, this);
  if (chooser.exec() != QDialog::Accepted || !chooser.Chosen()) return;
  configuration_ = *chooser.Chosen();
  Finish(EditAndProgram(configuration_, context_,
                        ProgrammingSheet::Editor(context_.ui, context_.clock, this)));
}

void ProgramEquipmentDialog::ReadPrinter() {
  Finish(ReadEditAndProgram(configuration_, context_,
                            ProgrammingSheet::Editor(context_.ui, context_.clock, this)));
}

void ProgramEquipmentDialog::EditCurrent() {
  Finish(EditAndProgram(configuration_, context_,
                        ProgrammingSheet::Editor(context_.ui, context_.clock, this)));
}

}  // namespace taloven
