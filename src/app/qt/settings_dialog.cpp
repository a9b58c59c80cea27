#include "app/qt/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/usb_setup.h"
#include "base/printer_models.h"
#include "resources/qt/dialog_buttons.h"
#include "resources/qt/qt_text.h"
#include "ui/qt/port_list.h"

namespace taloven {

namespace {

QComboBox* EditableList(QWidget* parent, const char* name) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setEditable(true);
  // A typed text is taken as it is, never added to the list or completed
  // into another entry.
  list->setInsertPolicy(QComboBox::NoInsert);
  list->setCompleter(nullptr);
  return list;
}

// The list's current item is the shown name, so that opening the list
// highlights it; a name the list lacks is shown as typed, nothing marked.
void Show(QComboBox* list, const QString& name) {
  const int index = list->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  list->setCurrentIndex(index);
  if (index < 0) list->setEditText(name);
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const QString& text, bool checked) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(checked);
  return box;
}

}  // namespace

SettingsDialog::SettingsDialog(QWidget* parent, const SettingsChoice& choice,
                               const std::vector<PortLine>& portNames)
    : QDialog(parent) {
  setObjectName(QStringLiteral("187"));
  setWindowTitle(QStr(StrId::kSettings));

  ports_ = PortList(this, "1279", portNames, choice.portName);

  models_ = EditableList(this, "1280");
  for (const std::string& name : SettingsModelNames()) models_->addItem(ToQt(name));
  Show(models_, ToQt(choice.modelName));

  auto* portLabel = new QLabel(QStr(StrId::kCommunicationPort), this);
  portLabel->setObjectName(QStringLiteral("1283"));
  auto* modelLabel = new QLabel(QStr(StrId::kEquipment), this);
  modelLabel->setObjectName(QStringLiteral("1282"));

  filter_ = CheckBox(this, "1285", ToQt(W("Filtrar comandos conforme equipamento")),
                     choice.filterByModel);
  results_ = CheckBox(this, "1281", QStr(StrId::kShowResults), choice.showResults);
  extended_ = CheckBox(this, "1284", QStr(StrId::kExtendedReturn), choice.extendedReturn);
  trace_ = CheckBox(this, "traceBytes", ToQt(W("Registrar os bytes trocados")), choice.traceBytes);
  trace_->setToolTip(
      ToQt(W("Acrescenta a log/Trace_AAAA_MM_DD.txt cada byte enviado e recebido, "
             "em hexadecimal e com a hora")));

  usbSetup_ = new QPushButton(QStr(StrId::kInstallUsbDriver), this);
  usbSetup_->setObjectName(QStringLiteral("1304"));
  usbSetup_->setAutoDefault(false);
  usbSetup_->setEnabled(false);
  connect(usbSetup_, &QPushButton::clicked, this, [this] {
    if (setup_) setup_();
  });

  const CloseRow buttons =
      AddCloseRow(this, {QString(), ControlName(1)}, {QString(), ControlName(2)});
  ok_ = buttons.ok;
  // A port must be named: an empty one would reach no printer at all.
  connect(ports_, &QComboBox::editTextChanged, this, [this] { UpdateOk(); });

  auto* grid = new QGridLayout;
  grid->addWidget(portLabel, 0, 0);
  grid->addWidget(ports_, 0, 1);
  grid->addWidget(modelLabel, 1, 0);
  grid->addWidget(models_, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(filter_);
  layout->addWidget(results_);
  layout->addWidget(extended_);
  layout->addWidget(trace_);
  layout->addWidget(usbSetup_, 0, Qt::AlignLeft);
  layout->addWidget(buttons.box);
  UpdateOk();
}

void SettingsDialog::SetFilterLocked(bool locked) {
  filter_->setEnabled(!locked);
}

void SettingsDialog::SetModelLocked(bool locked) {
  models_->setEnabled(!locked);
}

void SettingsDialog::SetUsbSetup(std::function<void()> setup) {
  setup_ = std::move(setup);
  usbSetup_->setEnabled(static_cast<bool>(setup_));
}

void SettingsDialog::OfferUsbSetup(const std::string& workingDirectory, Ui& ui) {
  SetUsbSetup(
      [workingDirectory, &ui] { InstallUsbAccess(workingDirectory, ui, RealUsbSetupSystem()); });
}

void SettingsDialog::UpdateOk() {
  ok_->setEnabled(!TypedPortName(FromQt(ports_->currentText())).empty());
}

SettingsChoice SettingsDialog::Choice() const {
  SettingsChoice choice;
  choice.portName = TypedPortName(FromQt(ports_->currentText()));
  choice.modelName = TypedModelName(FromQt(models_->currentText()));
  choice.filterByModel = filter_->isChecked();
  choice.showResults = results_->isChecked();
  choice.extendedReturn = extended_->isChecked();
  choice.traceBytes = trace_->isChecked();
  return choice;
}

}  // namespace taloven
