#include "programming/qt/general_information_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

#include "catalogue/cliche_text.h"
#include "link/clock.h"
#include "resources/qt/qt_text.h"

namespace taloven {

const std::array<GeneralInformationPage::TextField, 11> GeneralInformationPage::kTextFields = {{
    {"Cliente", &EquipmentConfiguration::client, 20, "client"},
    {"Número de série", &EquipmentConfiguration::serialNumber, 20, "serialNumber"},
    {"CNPJ", &EquipmentConfiguration::cnpj, 20, "cnpj"},
    {"IE", &EquipmentConfiguration::ie, 20, "ie"},
    {"IM", &EquipmentConfiguration::im, 20, "im"},
    {"UF", &EquipmentConfiguration::uf, 2, "uf"},
    {"Senha", &EquipmentConfiguration::password, 20, "password"},
    {"Número da Loja", &EquipmentConfiguration::storeNumber, 4, "storeNumber"},
    {"Número do Caixa", &EquipmentConfiguration::registerNumber, 3, "registerNumber"},
    {"Data", &EquipmentConfiguration::date, 6, "date"},
    {"Hora", &EquipmentConfiguration::time, 6, "time"},
}};

const std::array<GeneralInformationPage::FlagField, 7> GeneralInformationPage::kFlagFields = {{
    {"Cupom Adicional", &EquipmentConfiguration::additionalCoupon, "additionalCoupon"},
    {"Desconto ISS", &EquipmentConfiguration::issDiscount, "issDiscount"},
    {"Vinculado a CNF", &EquipmentConfiguration::linkedToNonFiscal, "linkedToNonFiscal"},
    {"RV na Conferência", &EquipmentConfiguration::rvInConference, "rvInConference"},
    {"RZ Automática", &EquipmentConfiguration::automaticZ, "automaticZ"},
    {"Bilhete de passagem", &EquipmentConfiguration::passengerTicket, "passengerTicket"},
    {"Horário de verão", &EquipmentConfiguration::daylightSaving, "daylightSaving"},
}};

GeneralInformationPage::GeneralInformationPage(Ui& ui, Clock& clock, QWidget* parent)
    : QWidget(parent), ui_(ui), clock_(clock), clicheView_(new QPlainTextEdit(this)) {
  setWindowTitle(QString::fromUtf8("Informações Gerais"));
  auto* columns = new QHBoxLayout(this);
  auto* grid = new QGridLayout;
  for (size_t i = 0; i < kTextFields.size(); ++i) {
    const TextField& field = kTextFields[i];
    auto* edit = new QLineEdit(this);
    edit->setObjectName(field.objectName);
    edit->setMaxLength(field.limit);
    if (field.member == &EquipmentConfiguration::password) edit->setEchoMode(QLineEdit::Password);
    auto* label = new QLabel(QString::fromUtf8(field.label), this);
    label->setBuddy(edit);
    grid->addWidget(label, static_cast<int>(i), 0);
    grid->addWidget(edit, static_cast<int>(i), 1);
    edits_[i] = edit;
  }
  auto* now = new QPushButton("Carregar do computador", this);
  now->setObjectName("loadComputerClock");
  connect(now, &QPushButton::clicked, this, &GeneralInformationPage::LoadComputerClock);
  grid->addWidget(now, static_cast<int>(kTextFields.size()), 1);
  columns->addLayout(grid);

  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel(QString::fromUtf8("Clichê do Proprietário"), this));
  clicheView_->setObjectName("cliche");
  clicheView_->setReadOnly(true);
  clicheView_->setMinimumWidth(clicheView_->fontMetrics().horizontalAdvance(QString(40, 'M')));
  right->addWidget(clicheView_);
  auto* edit = new QPushButton("Editar", this);
  edit->setObjectName("editCliche");
  connect(edit, &QPushButton::clicked, this, &GeneralInformationPage::EditCliche);
  right->addWidget(edit, 0, Qt::AlignRight);
  for (size_t i = 0; i < kFlagFields.size(); ++i) {
    flags_[i] = new QCheckBox(QString::fromUtf8(kFlagFields[i].label), this);
    flags_[i]->setObjectName(kFlagFields[i].objectName);
    right->addWidget(flags_[i]);
  }
  columns->addLayout(right);
}

void GeneralInformationPage::Load(const EquipmentConfiguration& configuration) {
  for (size_t i = 0; i < kTextFields.size(); ++i)
    edits_[i]->setText(ToQt(configuration.*kTextFields[i].member));
  for (size_t i = 0; i < kFlagFields.size(); ++i)
    flags_[i]->setChecked(configuration.*kFlagFields[i].member);
  cliche_ = configuration.cliche;
  ShowCliche();
}

void GeneralInformationPage::Read(EquipmentConfiguration& configuration) const {
  for (size_t i = 0; i < kTextFields.size(); ++i)
    configuration.*kTextFields[i].member = FromQt(edits_[i]->text());
  for (size_t i = 0; i < kFlagFields.size(); ++i)
    configuration.*kFlagFields[i].member = flags_[i]->isChecked();
  configuration.cliche = cliche_;
}

void GeneralInformationPage::ShowCliche() {
  QString shown = ToQt(cliche_);
  shown.replace("\r\n", "\n");
  clicheView_->setPlainText(shown);
}

void GeneralInformationPage::EditCliche() {
  // The editor starts empty; Cancel keeps the cliché as it was.
  const std::optional<ClicheAnswer> answer = ui_.ClicheEditor();
  if (!answer) return;
  cliche_ = BuildClicheText(*answer);
  ShowCliche();
}

void GeneralInformationPage::LoadComputerClock() {
  const std::tm now = clock_.LocalTime();
  char date[40], time[40];
  std::snprintf(date, sizeof date, "%02d%02d%02d", now.tm_mday, now.tm_mon + 1, now.tm_year % 100);
  std::snprintf(time, sizeof time, "%02d%02d%02d", now.tm_hour, now.tm_min, now.tm_sec);
  for (size_t i = 0; i < kTextFields.size(); ++i) {
    if (kTextFields[i].member == &EquipmentConfiguration::date) edits_[i]->setText(date);
    if (kTextFields[i].member == &EquipmentConfiguration::time) edits_[i]->setText(time);
  }
}

}  // namespace taloven
