#include "catalogue/qt/command_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "resources/qt/dialog_buttons.h"
#include "resources/qt/qt_text.h"
#include "ui/qt/help_key.h"
#include "ui/ui.h"

namespace taloven {
namespace {

// Room for this many characters in every value field.
constexpr int kValueFieldChars = 34;

}  // namespace

CommandDialog::CommandDialog(CommandRecord record, const AppSettings& settings, Ui& ui,
                             CommandSender& sender, QWidget* parent)
    : QDialog(parent), logic_(std::move(record), settings, ui, sender), dialogParent_(ui, this) {
  setObjectName(QStringLiteral("130"));
  setWindowTitle(ToQt(logic_.Caption()));
  AddHelpKey(this, ui, HelpTopic::kSendCommand);

  group_ = new QGroupBox(QStr(StrId::kParameters), this);
  group_->setObjectName(ControlName(1174));
  auto* grid = new QGridLayout(group_);
  grid->setColumnStretch(1, 1);
  grid->setHorizontalSpacing(8);
  const int fieldWidth = fontMetrics().averageCharWidth() * kValueFieldChars;
  // Every command's window has about the same width, also one without rows,
  // so that its caption, the command's title, stays readable.
  group_->setMinimumWidth(fieldWidth * 3 / 2);
  for (int row = 0; row < CommandDialogLogic::kRowCount; ++row) {
    const CommandDialogRow& shown = logic_.Rows()[static_cast<size_t>(row)];
    RowWidgets& widgets = rows_[static_cast<size_t>(row)];
    widgets.label = new QLabel(ToQt(shown.label), group_);
    widgets.label->setObjectName(ControlName(shown.labelId));
    widgets.value = new QLineEdit(group_);
    widgets.value->setObjectName(ControlName(shown.valueId));
    widgets.value->setMinimumWidth(fieldWidth);
    // Enter must never press a button of this window.
    widgets.edit = PlainButton(QStr(StrId::kEdit), ControlName(shown.editId), group_);
    grid->addWidget(widgets.label, row, 0);
    grid->addWidget(widgets.value, row, 1);
    grid->addWidget(widgets.edit, row, 2);
    connect(widgets.value, &QLineEdit::textEdited, this,
            [this, row](const QString& text) { logic_.SetRowText(row, FromQt(text)); });
    connect(widgets.edit, &QPushButton::clicked, this, [this, row] { EditRow(row); });
  }

  auto* note = new QLabel(ToQt(logic_.ExtraParametersNote()), this);
  note->setObjectName(QStringLiteral("extraParameters"));
  note->setVisible(logic_.ExtraParameterCount() > 0);

  ok_ = PlainButton(QStringLiteral("Ok"), ControlName(1038), this);
  auto* cancel = PlainButton(QStr(StrId::kCancel), ControlName(2), this);
  connect(ok_, &QPushButton::clicked, this, &CommandDialog::Send);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group_);
  layout->addWidget(note);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  ShowRows();
}

void CommandDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!begun_) QTimer::singleShot(0, this, &CommandDialog::Begin);
}

void CommandDialog::Begin() {
  if (begun_) return;
  begun_ = true;
  busy_ = true;
  logic_.Open();
  busy_ = false;
  ShowRows();
  ok_->setFocus();
}

void CommandDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CommandDialog::reject() {
  // Not while a command is on its way: its windows still need this one.
  if (!busy_) QDialog::reject();
}

void CommandDialog::ShowRows() {
  for (int row = 0; row < CommandDialogLogic::kRowCount; ++row) {
    const CommandDialogRow& shown = logic_.Rows()[static_cast<size_t>(row)];
    RowWidgets& widgets = rows_[static_cast<size_t>(row)];
    const QString text = ToQt(shown.text);
    // The limit caps typing only: a longer value that parameter entry gave
    // (a cancel text in a short row, say) is shown whole, never cut.
    const int limit = shown.lengthLimit > 0 ? shown.lengthLimit : 32767;
    widgets.value->setMaxLength(std::max(limit, static_cast<int>(text.size())));
    if (widgets.value->text() != text) widgets.value->setText(text);
    widgets.label->setVisible(shown.visible);
    widgets.value->setVisible(shown.visible);
    widgets.edit->setVisible(shown.visible);
  }
}

void CommandDialog::EditRow(int row) {
  if (busy_) return;
  busy_ = true;
  logic_.Edit(row);
  busy_ = false;
  ShowRows();
}

void CommandDialog::Send() {
  if (busy_) return;
  busy_ = true;
  logic_.Send();
  busy_ = false;
  ShowRows();
}

}  // namespace taloven
