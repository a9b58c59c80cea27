#include "catalogue/qt/date_time_dialogs.h"

#include <QHBoxLayout>
#include <QMessageBox>

#include "resources/qt/qt_text.h"

namespace taloven {

DateDialog::DateDialog(const std::string& prompt, QWidget* parent)
    : EntryDialog(prompt.empty() ? "Digite a data" : prompt, parent),
      picker_(new QDateEdit(QDate::currentDate(), this)) {
  picker_->setObjectName("1249");
  picker_->setDisplayFormat("dd/MM/yyyy");
  picker_->setCalendarPopup(true);
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(QStr(StrId::kDate), this);
  label->setObjectName("1179");
  row->addWidget(label);
  row->addWidget(picker_, 1);
  Body()->addLayout(row);
  auto* load = new QPushButton(QStringLiteral("Carregar data do computador"), this);
  load->setObjectName("1235");
  load->setAutoDefault(false);
  connect(load, &QPushButton::clicked, this, [this] { picker_->setDate(QDate::currentDate()); });
  Body()->addWidget(load);
  confirm = [this](const QString& question) {
    return QMessageBox::warning(this, QStr(StrId::kProductName), question,
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
}

Date DateDialog::Chosen() const {
  QDate date = picker_->date();
  return {date.day(), date.month(), date.year()};
}

void DateDialog::accept() {
  Date date = Chosen();
  QString question = QStr(StrId::kDateCorrect) + "\r\n" +
                     QString::asprintf("%02d/%02d/%02d", date.day, date.month, date.year % 100);
  if (confirm(question)) EntryDialog::accept();
}

TimeDialog::TimeDialog(const std::string& prompt, bool clockMode, QWidget* parent)
    : EntryDialog(prompt, parent),
      picker_(new QTimeEdit(QTime::currentTime(), this)),
      summerTime_(new QCheckBox(QStr(StrId::kDaylightSaving), this)) {
  picker_->setObjectName("1250");
  picker_->setDisplayFormat("HH:mm:ss");
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(QStr(StrId::kTime) + ":", this);
  label->setObjectName("1189");
  row->addWidget(label);
  row->addWidget(picker_, 1);
  Body()->addLayout(row);
  summerTime_->setObjectName("1297");
  summerTime_->setVisible(clockMode);
  summerTime_->setEnabled(clockMode);
  Body()->addWidget(summerTime_);
  auto* load = new QPushButton(QStr(StrId::kLoadComputerTime), this);
  load->setObjectName("1234");
  load->setAutoDefault(false);
  load->setVisible(!clockMode);
  connect(load, &QPushButton::clicked, this, [this] { picker_->setTime(QTime::currentTime()); });
  Body()->addWidget(load);
  if (clockMode) {
    SetPrompt(QStr(StrId::kAcceptComputerClock) + "\r\n\r\n" + QStr(StrId::kDate) + ": " +
              QDate::currentDate().toString("dd/MM/yyyy"));
    connect(&clock_, &QTimer::timeout, this, [this] { picker_->setTime(QTime::currentTime()); });
    clock_.start(200);
  }
}

void TimeDialog::accept() {
  QTime time = picker_->time();
  QDate today = QDate::currentDate();
  answer_ = {{today.day(), today.month(), today.year()},
             {time.hour(), time.minute(), time.second()},
             summerTime_->isChecked()};
  EntryDialog::accept();
}

}  // namespace taloven
