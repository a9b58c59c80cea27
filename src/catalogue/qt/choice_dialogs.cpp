#include "catalogue/qt/choice_dialogs.h"

#include <QGridLayout>
#include <QRegularExpressionValidator>

#include "resources/qt/qt_text.h"

namespace taloven {

OptionsDialog::OptionsDialog(const std::string& prompt, const std::vector<std::string>& options,
                             QWidget* parent)
    : EntryDialog(prompt, parent) {
  for (int i = 0; i < kMostOptions; ++i) {
    const size_t index = static_cast<size_t>(i);
    auto* button = new QPushButton(this);
    button->setObjectName(QString::number(1052 + i));
    button->setAutoDefault(false);
    const bool used = index < options.size() && !options[index].empty();
    if (used) button->setText(ToQt(options[index]));
    button->setVisible(used);
    connect(button, &QPushButton::clicked, this, [this, i] {
      chosen_ = i + 1;
      accept();
    });
    Body()->addWidget(button);
  }
  if (auto* ok = findChild<QPushButton*>("1")) ok->hide();
}

namespace {

struct ChequeItem {
  const char* label;
  bool hasLine;
};

// Amount, the two lines in words, payee and place take column and line; the
// date's parts only a column.
constexpr ChequeItem kChequeItems[] = {
    {"&Valor", true}, {"Extenso 1", true}, {"Extenso 2", true},   {"Favorecido", true},
    {"Local", true},  {"Dia", false},      {"M\xC3\xAAs", false}, {"Ano", false}};

}  // namespace

ChequePositionsDialog::ChequePositionsDialog(const ChequeFields& preset, QWidget* parent)
    : EntryDialog("", parent) {
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("X", this), 0, 1, Qt::AlignHCenter);
  grid->addWidget(new QLabel("Y", this), 0, 2, Qt::AlignHCenter);
  size_t field = 0;
  int row = 1;
  for (const ChequeItem& item : kChequeItems) {
    auto* label = new QLabel(QString::fromUtf8(item.label), this);
    grid->addWidget(label, row, 0);
    for (int column = 1; column <= (item.hasLine ? 2 : 1); ++column) {
      auto* edit = new QLineEdit(ToQt(preset[field]), this);
      edit->setObjectName(QString("cheque%1").arg(field + 1, 2, 10, QChar('0')));
      edit->setMaxLength(2);
      edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
      edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("000") + 16);
      if (column == 1) label->setBuddy(edit);
      grid->addWidget(edit, row, column);
      edits_[field++] = edit;
    }
    ++row;
  }
  Body()->addLayout(grid);
}

ChequeFields ChequePositionsDialog::Fields() const {
  ChequeFields fields;
  for (size_t i = 0; i < edits_.size(); ++i) fields[i] = FromQt(edits_[i]->text());
  return fields;
}

}  // namespace taloven
