#include "programming/qt/totalizer_names_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "resources/qt/qt_text.h"

namespace taloven {

TotalizerNamesPage::TotalizerNamesPage(int usableNames, QWidget* parent) : QWidget(parent) {
  setWindowTitle(QString::fromUtf8("Totalizadores Parciais não sujeitos"));
  auto* columns = new QHBoxLayout(this);
  // 01 to 17, 18 to 34, 35 to 50.
  constexpr int kFirstOfColumn[] = {0, 17, 34, kConfigurationTotalizerNames};
  for (int column = 0; column < 3; ++column) {
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Tot.", this), 0, 0);
    grid->addWidget(new QLabel("Nome", this), 0, 1);
    for (int k = kFirstOfColumn[column]; k < kFirstOfColumn[column + 1]; ++k) {
      const QString number = QString("%1").arg(k + 1, 2, 10, QChar('0'));
      auto* edit = new QLineEdit(this);
      edit->setObjectName("name" + number);
      edit->setMaxLength(kNameLimit);
      edit->setEnabled(k < usableNames);
      edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(kNameLimit, 'M')) / 2);
      auto* label = new QLabel(number, this);
      label->setBuddy(edit);
      const int row = k - kFirstOfColumn[column] + 1;
      grid->addWidget(label, row, 0);
      grid->addWidget(edit, row, 1);
      names_[static_cast<size_t>(k)] = edit;
    }
    grid->setRowStretch(18, 1);
    columns->addLayout(grid);
  }
}

void TotalizerNamesPage::Load(const EquipmentConfiguration& configuration) {
  // A disabled box still shows (and keeps) a name longer than its limit.
  for (size_t k = 0; k < names_.size(); ++k) {
    names_[k]->setMaxLength(32767);
    names_[k]->setText(ToQt(configuration.totalizerNames[k]));
    if (names_[k]->isEnabled()) names_[k]->setMaxLength(kNameLimit);
  }
}

void TotalizerNamesPage::Read(EquipmentConfiguration& configuration) const {
  for (size_t k = 0; k < names_.size(); ++k)
    configuration.totalizerNames[k] = FromQt(names_[k]->text());
}

}  // namespace taloven
