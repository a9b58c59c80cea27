#include "catalogue/qt/tax_rate_page.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpressionValidator>

#include "resources/qt/qt_text.h"

namespace taloven {

TaxRatePage::TaxRatePage(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QString::fromUtf8("Alíquotas"));
  auto* columns = new QHBoxLayout(this);
  constexpr int kPerColumn = kRates / 2;
  for (int column = 0; column < 2; ++column) {
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("XX , XX %", this), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel("ICMS", this), 0, 2, Qt::AlignHCenter);
    grid->addWidget(new QLabel("ISS", this), 0, 3, Qt::AlignHCenter);
    for (int r = 0; r < kPerColumn; ++r) {
      const int number = column * kPerColumn + r + 1;
      const QString two = QString("%1").arg(number, 2, 10, QChar('0'));
      Row& row = rows_[static_cast<size_t>(number - 1)];
      auto* label = new QLabel(QString::fromUtf8("Alíquota ") + two, this);
      row.rate = new QLineEdit(this);
      row.rate->setObjectName("rate" + two);
      row.rate->setMaxLength(4);
      row.rate->setValidator(
          new QRegularExpressionValidator(QRegularExpression("[0-9]*"), row.rate));
      row.rate->setFixedWidth(row.rate->fontMetrics().horizontalAdvance("00000") + 16);
      row.rate->setAlignment(Qt::AlignRight);
      label->setBuddy(row.rate);
      row.icms = new QRadioButton(this);
      row.icms->setObjectName("icms" + two);
      row.iss = new QRadioButton(this);
      row.iss->setObjectName("iss" + two);
      auto* pair = new QButtonGroup(this);
      pair->addButton(row.icms);
      pair->addButton(row.iss);
      row.icms->setChecked(true);
      grid->addWidget(label, r + 1, 0);
      grid->addWidget(row.rate, r + 1, 1);
      grid->addWidget(row.icms, r + 1, 2, Qt::AlignHCenter);
      grid->addWidget(row.iss, r + 1, 3, Qt::AlignHCenter);
    }
    columns->addLayout(grid);
    if (column == 0) columns->addSpacing(24);
  }
}

void TaxRatePage::Load(const TaxRates& rates) {
  for (size_t i = 0; i < rows_.size(); ++i) {
    rows_[i].rate->setText(ToQt(rates.rates[i]));
    const bool iss = i < rates.linkage.size() && rates.linkage[i] != '0';
    (iss ? rows_[i].iss : rows_[i].icms)->setChecked(true);
  }
}

TaxRates TaxRatePage::Read() const {
  TaxRates rates;
  for (size_t i = 0; i < rows_.size(); ++i) {
    rates.rates[i] = FromQt(rows_[i].rate->text());
    rates.linkage += rows_[i].iss->isChecked() ? '1' : '0';
  }
  return rates;
}

void TaxRatePage::FocusFirstRate() {
  rows_[0].rate->setFocus(Qt::TabFocusReason);
  rows_[0].rate->selectAll();
}

}  // namespace taloven
