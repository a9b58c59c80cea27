#include "catalogue/qt/command_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "resources/qt/qt_text.h"

namespace taloven {
namespace {

// Label, value field and "Editar" button of each row.
constexpr int kRowIds[CommandDialogLogic::kRows][3] = {
    {1028, 1003, 1052}, {1029, 1004, 1053}, {1030, 1005, 1054}, {1031, 1006, 1055},
    {1032, 1007, 1056}, {1033, 1008, 1057}, {1034, 1009, 1058}, {1035, 1010, 1059},
    {1036, 1011, 1060}, {1037, 1012, 1061}, {1039, 1015, 1062}, {1040, 1013, 1063}};

}  // namespace

CommandDialog::CommandDialog(CommandRecord record, ExecutionContext& context, QWidget* parent)
    : QDialog(parent), logic_(std::move(record)), context_(context) {
  setWindowTitle(ToQt(logic_.Record().title));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStr(32895), this);
  group->setObjectName("1174");
  auto* grid = new QGridLayout(group);
  for (int i = 0; i < CommandDialogLogic::kRows; ++i) {
    Row& row = rows_[static_cast<size_t>(i)];
    row.label = new QLabel(group);
    row.label->setObjectName(QString::number(kRowIds[i][0]));
    row.value = new QLineEdit(group);
    row.value->setObjectName(QString::number(kRowIds[i][1]));
    row.value->setMinimumWidth(300);
    row.edit = new QPushButton(QStr(32853), group);
    row.edit->setObjectName(QString::number(kRowIds[i][2]));
    row.edit->setAutoDefault(false);
    row.label->setBuddy(row.value);
    grid->addWidget(row.label, i, 0);
    grid->addWidget(row.value, i, 1);
    grid->addWidget(row.edit, i, 2);
    connect(row.value, &QLineEdit::textEdited, this,
            [this, i](const QString& text) { logic_.SetRowText(i, FromQt(text)); });
    connect(row.edit, &QPushButton::clicked, this, [this, i] {
      TakeTexts();
      logic_.Edit(i, context_.ui);
      Refresh();
    });
    const bool shown = logic_.RowShown(i);
    row.label->setVisible(shown);
    row.value->setVisible(shown);
    row.edit->setVisible(shown);
    if (i < logic_.UsedRows()) {
      row.value->setMaxLength(std::max(logic_.RowLimit(i), 1));
      row.label->setText(ToQt(logic_.RowLabel(i)));
    }
  }
  const std::string note = logic_.ExtraParametersNote();
  if (!note.empty()) {
    auto* extra = new QLabel(ToQt(note), group);
    extra->setObjectName("extraParameters");
    extra->setWordWrap(true);
    grid->addWidget(extra, CommandDialogLogic::kRows, 0, 1, 3);
  }
  layout->addWidget(group);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* ok = new QPushButton("Ok", this);
  ok->setObjectName("1038");
  ok->setAutoDefault(false);
  auto* cancel = new QPushButton(QStr(32820), this);
  cancel->setObjectName("2");
  cancel->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &CommandDialog::Send);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
}

int CommandDialog::Run() {
  show();
  logic_.Open(context_);
  Refresh();
  if (auto* ok = findChild<QPushButton*>("1038")) ok->setFocus();
  return exec();
}

void CommandDialog::keyPressEvent(QKeyEvent* event) {
  // Enter edits and sends nothing; only Ok sends and only Cancel closes.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CommandDialog::Refresh() {
  for (int i = 0; i < logic_.UsedRows(); ++i)
    rows_[static_cast<size_t>(i)].value->setText(ToQt(logic_.RowText(i)));
}

void CommandDialog::TakeTexts() {
  for (int i = 0; i < logic_.UsedRows(); ++i)
    logic_.SetRowText(i, FromQt(rows_[static_cast<size_t>(i)].value->text()));
}

void CommandDialog::Send() {
  TakeTexts();
  logic_.Send(context_);
  Refresh();
}

}  // namespace taloven
