#include "fiscalmem/qt/mfd_dialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/qt/dialog_buttons.h"
#include "resources/qt/qt_text.h"

namespace taloven {
namespace {

constexpr int kLargestCounter = 999999;

QSpinBox* Counter(QWidget* parent, const char* name, int highest, int value) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(0, highest);
  box->setValue(value);
  return box;
}

QDateEdit* Today(QWidget* parent, const char* name) {
  auto* picker = new QDateEdit(QDate::currentDate(), parent);
  picker->setObjectName(name);
  picker->setCalendarPopup(true);
  picker->setDisplayFormat("dd/MM/yyyy");
  return picker;
}

Date FromPicker(const QDateEdit* picker) {
  const QDate date = picker->date();
  return {date.day(), date.month(), date.year()};
}

QLabel* Buddy(const QString& text, QWidget* field) {
  auto* label = new QLabel(text, field->parentWidget());
  label->setBuddy(field);
  return label;
}

QDialogButtonBox* Buttons(QDialog* dialog, const QString& ok, const QString& cancel) {
  return AddCloseRow(dialog, {ok, QStringLiteral("ok")}, {cancel, QStringLiteral("cancel")}).box;
}

}  // namespace

MfdIntervalDialog::MfdIntervalDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString());
  auto* group = new QGroupBox(QStringLiteral("Intervalo"), this);
  coos_ = new QRadioButton(QStringLiteral("C&OOs:"), group);
  coos_->setObjectName("coos");
  dates_ = new QRadioButton(QStringLiteral("&Datas:"), group);
  dates_->setObjectName("dates");
  total_ = new QRadioButton(ToQt(W("Total &Lógico")), group);
  total_->setObjectName("total");
  firstCoo_ = Counter(group, "firstCoo", kLargestCounter, 0);
  lastCoo_ = Counter(group, "lastCoo", kLargestCounter, 0);
  user_ = Counter(group, "user", 255, 1);
  start_ = Today(group, "start");
  end_ = Today(group, "end");

  auto* grid = new QGridLayout(group);
  grid->addWidget(coos_, 0, 0);
  grid->addWidget(firstCoo_, 0, 1);
  grid->addWidget(lastCoo_, 0, 2);
  grid->addWidget(Buddy(ToQt(W("&Usuário:")), user_), 1, 1, Qt::AlignRight);
  grid->addWidget(user_, 1, 2);
  grid->addWidget(dates_, 2, 0);
  grid->addWidget(start_, 2, 1);
  grid->addWidget(end_, 2, 2);
  grid->addWidget(total_, 3, 0);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(Buttons(this, QStringLiteral("&Iniciar"), QStringLiteral("&Cancelar")));

  coos_->setChecked(true);
  for (QRadioButton* choice : {coos_, dates_, total_})
    connect(choice, &QRadioButton::toggled, this, &MfdIntervalDialog::EnableFields);
  EnableFields();
}

void MfdIntervalDialog::EnableFields() {
  for (QWidget* field : {static_cast<QWidget*>(firstCoo_), static_cast<QWidget*>(lastCoo_),
                         static_cast<QWidget*>(user_)})
    field->setEnabled(coos_->isChecked());
  start_->setEnabled(dates_->isChecked());
  end_->setEnabled(dates_->isChecked());
}

MfdInterval MfdIntervalDialog::Chosen() const {
  MfdInterval interval;
  interval.kind = coos_->isChecked()    ? MfdInterval::Kind::Coos
                  : dates_->isChecked() ? MfdInterval::Kind::Dates
                                        : MfdInterval::Kind::Total;
  interval.firstCoo = firstCoo_->value();
  interval.lastCoo = lastCoo_->value();
  interval.user = user_->value();
  interval.start = FromPicker(start_);
  interval.end = FromPicker(end_);
  return interval;
}

MfReadingDialog::MfReadingDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQt(W("Leitura da Memória Fiscal")));
  byCrz_ = new QRadioButton(QStringLiteral("LMF por CRZ"), this);
  byCrz_->setObjectName("byCrz");
  byDate_ = new QRadioButton(QStringLiteral("LMF por Data"), this);
  byDate_->setObjectName("byDate");
  firstCrz_ = Counter(this, "firstCrz", kLargestCounter, 0);
  lastCrz_ = Counter(this, "lastCrz", kLargestCounter, 0);
  start_ = Today(this, "start");
  end_ = Today(this, "end");
  simplified_ = new QCheckBox(QStringLiteral("LMF simplificada"), this);
  simplified_->setObjectName("simplified");

  auto* grid = new QGridLayout;
  grid->addWidget(byCrz_, 0, 0, 1, 2);
  grid->addWidget(Buddy(QStringLiteral("CRZ inicial:"), firstCrz_), 1, 0);
  grid->addWidget(firstCrz_, 1, 1);
  grid->addWidget(Buddy(QStringLiteral("CRZ final:"), lastCrz_), 2, 0);
  grid->addWidget(lastCrz_, 2, 1);
  grid->addWidget(byDate_, 0, 2, 1, 2);
  grid->addWidget(Buddy(QStringLiteral("Data inicial:"), start_), 1, 2);
  grid->addWidget(start_, 1, 3);
  grid->addWidget(Buddy(QStringLiteral("Data final:"), end_), 2, 2);
  grid->addWidget(end_, 2, 3);
  grid->addWidget(simplified_, 3, 0, 1, 4);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(Buttons(this, QStringLiteral("OK"), QStringLiteral("Cancelar")));

  byCrz_->setChecked(true);
  connect(byCrz_, &QRadioButton::toggled, this, &MfReadingDialog::EnableFields);
  EnableFields();
}

void MfReadingDialog::EnableFields() {
  firstCrz_->setEnabled(byCrz_->isChecked());
  lastCrz_->setEnabled(byCrz_->isChecked());
  start_->setEnabled(!byCrz_->isChecked());
  end_->setEnabled(!byCrz_->isChecked());
}

MfReadingChoice MfReadingDialog::Chosen() const {
  MfReadingChoice choice;
  choice.byDate = byDate_->isChecked();
  choice.firstCrz = firstCrz_->value();
  choice.lastCrz = lastCrz_->value();
  choice.start = FromPicker(start_);
  choice.end = FromPicker(end_);
  choice.simplified = simplified_->isChecked();
  return choice;
}

}  // namespace taloven
