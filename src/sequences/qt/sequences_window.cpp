#include "sequences/qt/sequences_window.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "resources/qt/dialog_buttons.h"
#include "resources/qt/qt_text.h"
#include "ui/open_document.h"
#include "ui/qt/help_key.h"
#include "ui/ui.h"

namespace taloven {
namespace {

constexpr int kNameColumnWidth = 120;
constexpr int kOtherColumnWidth = 170;
const QColor kParameterBackground(102, 140, 198);

// Enter must never press a button of this window.
QPushButton* Button(const QString& text, int id, std::optional<StrId> tip, QWidget* parent) {
  QPushButton* button = PlainButton(text, ControlName(id), parent);
  if (tip) button->setToolTip(QStr(*tip));
  return button;
}

QPushButton* PictureButton(QStyle::StandardPixmap picture, int id, std::optional<StrId> tip,
                           QWidget* parent) {
  QPushButton* button = Button(QString(), id, tip, parent);
  button->setIcon(parent->style()->standardIcon(picture));
  return button;
}

QListWidget* List(int id, bool sorted, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setObjectName(ControlName(id));
  list->setSortingEnabled(sorted);
  // Long titles scroll sideways rather than being cut.
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  return list;
}

QLabel* Label(StrId text, int id, QWidget* parent) {
  auto* label = new QLabel(QStr(text), parent);
  label->setObjectName(ControlName(id));
  return label;
}

bool IsEnter(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

SequencesWindow::SequencesWindow(AppSettings& settings, Ui& ui, PortFactory& ports, Clock& clock,
                                 QWidget* parent)
    : QDialog(parent), editor_(settings, ui, ports, clock), ui_(ui), dialogParent_(ui, this) {
  setObjectName(ControlName(159));
  BuildLayout();
  editor_.Open();
  FillSavedNames();
  FillGroups();
  FillAvailable();
  delete_->setEnabled(editor_.Saved().Count() > 0);
  setWindowTitle(QStr(StrId::kSequences));
  AddHelpKey(this, ui, HelpTopic::kSequences);
}

void SequencesWindow::BuildLayout() {
  // Made in this order, the controls take the keyboard in this order.
  CreateLists();
  const Buttons buttons = CreateButtons();
  CreateParameterTable();
  CreateRunFields();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(ListsGrid(buttons));
  layout->addLayout(RunFieldsRow());
  layout->addLayout(ButtonRow(buttons));
  resize(820, 640);

  ConnectLists();
  ConnectButtons(buttons);
}

void SequencesWindow::CreateLists() {
  groups_ = List(1213, true, this);
  available_ = List(1162, true, this);
  commands_ = List(1161, false, this);
  saved_ = List(1172, false, this);
  for (QListWidget* list : {available_, commands_}) list->installEventFilter(this);
}

SequencesWindow::Buttons SequencesWindow::CreateButtons() {
  Buttons buttons;
  buttons.add = Button(QStr(StrId::kAddButton), 1167, StrId::kAddCommandTip, this);
  buttons.remove = Button(QStr(StrId::kRemoveButton), 1168, StrId::kRemoveCommandTip, this);
  delete_ = Button(QStr(StrId::kDelete), 1173, StrId::kRemoveSequenceTip, this);
  buttons.create = Button(QStringLiteral("Nova"), 1238, StrId::kNewSequenceTip, this);
  buttons.run = Button(QStringLiteral("Executar"), 1170, StrId::kRunSequenceTip, this);
  buttons.save = Button(QStr(StrId::kSave), 1171, StrId::kSaveSequenceTip, this);
  buttons.verify = Button(QStringLiteral("Verificar"), 1291, std::nullopt, this);
  buttons.verify->setVisible(false);
  buttons.verify->setEnabled(false);
  buttons.cliche = PictureButton(QStyle::SP_DesktopIcon, 1305, StrId::kGraphicCliche, this);
  buttons.reference =
      PictureButton(QStyle::SP_FileDialogDetailedView, 1295, StrId::kCommandReferenceTip, this);
  buttons.help = PictureButton(QStyle::SP_DialogHelpButton, 1293, StrId::kHelpTip, this);
  buttons.config =
      PictureButton(QStyle::SP_FileDialogContentsView, 1294, StrId::kSettingsTip, this);
  buttons.exit = Button(QStr(StrId::kCancel), 2, std::nullopt, this);
  return buttons;
}

void SequencesWindow::CreateParameterTable() {
  parameters_ = new QTableWidget(0, 3, this);
  parameters_->setObjectName(ControlName(1166));
  parameters_->setHorizontalHeaderLabels(
      {QStr(StrId::kName), QStr(StrId::kMandatoryColumn), QStr(StrId::kParameterValue)});
  parameters_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  parameters_->verticalHeader()->setVisible(false);
  parameters_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  parameters_->setWordWrap(false);
  parameters_->setShowGrid(true);
  parameters_->setSelectionBehavior(QAbstractItemView::SelectRows);
  parameters_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  parameters_->setColumnWidth(0, kNameColumnWidth);
  parameters_->setColumnWidth(1, kOtherColumnWidth);
  parameters_->setColumnWidth(2, kOtherColumnWidth);
  SizeValueColumn();
  QPalette palette = parameters_->palette();
  palette.setColor(QPalette::Base, kParameterBackground);
  parameters_->setPalette(palette);
  parameters_->installEventFilter(this);
}

void SequencesWindow::CreateRunFields() {
  stepByStep_ = new QCheckBox(QStr(StrId::kStepByStep), this);
  stepByStep_->setObjectName(ControlName(1277));
  wait_ = new QLineEdit(QStringLiteral("0"), this);
  wait_->setObjectName(ControlName(1276));
  wait_->setMaxLength(2);
  repetitions_ = new QLineEdit(QStringLiteral("1"), this);
  repetitions_->setObjectName(ControlName(1272));
  repetitions_->setMaxLength(2);
  repetitions_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), repetitions_));
  const int twoDigits = fontMetrics().horizontalAdvance(QStringLiteral("000"));
  wait_->setFixedWidth(twoDigits + 12);
  repetitions_->setFixedWidth(twoDigits + 12);
}

QGridLayout* SequencesWindow::ListsGrid(const Buttons& buttons) {
  auto* grid = new QGridLayout;
  grid->addWidget(Label(StrId::kCommandGroups, 1211, this), 0, 0);
  grid->addWidget(groups_, 1, 0);
  grid->addWidget(Label(StrId::kAvailableCommands, 1208, this), 2, 0);
  grid->addWidget(available_, 3, 0);
  auto* middle = new QVBoxLayout;
  middle->addStretch(1);
  middle->addWidget(buttons.add);
  middle->addWidget(buttons.remove);
  middle->addStretch(1);
  grid->addLayout(middle, 3, 1);
  grid->addWidget(Label(StrId::kAvailableSequences, 1209, this), 0, 2);
  grid->addWidget(saved_, 1, 2);
  auto* savedButtons = new QHBoxLayout;
  savedButtons->addWidget(buttons.create);
  savedButtons->addWidget(delete_);
  savedButtons->addStretch(1);
  grid->addLayout(savedButtons, 1, 3, Qt::AlignTop);
  grid->addWidget(Label(StrId::kSequenceCommands, 1210, this), 2, 2);
  grid->addWidget(commands_, 3, 2, 1, 2);
  grid->addWidget(Label(StrId::kParameters, 1174, this), 4, 0);
  grid->addWidget(parameters_, 5, 0, 1, 4);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(1, 2);
  grid->setRowStretch(3, 3);
  grid->setRowStretch(5, 3);
  return grid;
}

QHBoxLayout* SequencesWindow::RunFieldsRow() {
  auto* fields = new QHBoxLayout;
  fields->addWidget(stepByStep_);
  fields->addSpacing(16);
  fields->addWidget(Label(StrId::kPauseBetweenCommands, 1275, this));
  fields->addWidget(wait_);
  fields->addSpacing(16);
  fields->addWidget(Label(StrId::kRunCount, 1273, this));
  fields->addWidget(repetitions_);
  fields->addStretch(1);
  return fields;
}

QHBoxLayout* SequencesWindow::ButtonRow(const Buttons& buttons) {
  auto* row = new QHBoxLayout;
  for (QPushButton* picture : {buttons.cliche, buttons.reference, buttons.help, buttons.config})
    row->addWidget(picture);
  row->addStretch(1);
  for (QPushButton* button : {buttons.verify, buttons.run, buttons.save, buttons.exit})
    row->addWidget(button);
  return row;
}

void SequencesWindow::ConnectLists() {
  connect(groups_, &QListWidget::currentItemChanged, this, [this] { FillAvailable(); });
  connect(commands_, &QListWidget::itemSelectionChanged, this, [this] { ShowParameters(); });
  connect(commands_, &QListWidget::itemDoubleClicked, this, &SequencesWindow::EditWholeCommand);
  connect(parameters_, &QTableWidget::cellClicked, this, &SequencesWindow::EditSelectedRows);
  connect(saved_, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> chosen = saved_->selectedItems();
    if (chosen.isEmpty()) return;
    editor_.SelectSaved(saved_->row(chosen.first()));
    FillSequenceCommands(-1);
  });
}

void SequencesWindow::ConnectButtons(const Buttons& buttons) {
  connect(buttons.add, &QPushButton::clicked, this, &SequencesWindow::Add);
  connect(buttons.remove, &QPushButton::clicked, this, &SequencesWindow::RemoveSelected);
  connect(buttons.create, &QPushButton::clicked, this, &SequencesWindow::NewSequence);
  connect(buttons.save, &QPushButton::clicked, this, &SequencesWindow::SaveSequence);
  connect(delete_, &QPushButton::clicked, this, &SequencesWindow::DeleteSequence);
  connect(buttons.run, &QPushButton::clicked, this, &SequencesWindow::RunSequence);
  connect(buttons.verify, &QPushButton::clicked, this, [this] {
    if (busy_) return;
    busy_ = true;
    editor_.Verify(FromQt(repetitions_->text()), FromQt(wait_->text()), stepByStep_->isChecked());
    busy_ = false;
  });
  connect(buttons.config, &QPushButton::clicked, this, &SequencesWindow::OpenSettings);
  connect(buttons.help, &QPushButton::clicked, this, &SequencesWindow::OpenHelp);
  connect(buttons.reference, &QPushButton::clicked, this, &SequencesWindow::OpenReference);
  connect(buttons.cliche, &QPushButton::clicked, this, &SequencesWindow::OpenGraphicCliche);
  connect(buttons.exit, &QPushButton::clicked, this, &QDialog::reject);
}

bool SequencesWindow::eventFilter(QObject* watched, QEvent* event) {
  if (IsEnter(event)) {
    if (watched == available_) Add();
    if (watched == commands_) EditWholeCommand();
    if (watched == parameters_) EditSelectedRows();
    return true;
  }
  if (event->type() == QEvent::FocusIn) {
    auto* list = qobject_cast<QListWidget*>(watched);
    if (list && list->count() > 0 && list->selectedItems().isEmpty()) list->setCurrentRow(0);
  }
  return QDialog::eventFilter(watched, event);
}

void SequencesWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void SequencesWindow::FillGroups() {
  groups_->clear();
  groups_->addItem(QStr(StrId::kAllGroups));
  for (const std::string& group : editor_.Groups()) groups_->addItem(ToQt(group));
  const auto all = groups_->findItems(QStr(StrId::kAllGroups), Qt::MatchExactly);
  if (!all.isEmpty()) groups_->setCurrentItem(all.first());
}

void SequencesWindow::FillAvailable() {
  available_->clear();
  const QListWidgetItem* group = groups_->currentItem();
  if (!group) return;
  for (const std::string& title : editor_.AvailableTitles(FromQt(group->text())))
    available_->addItem(ToQt(title));
}

void SequencesWindow::FillSavedNames() {
  const QSignalBlocker quiet(saved_);
  saved_->clear();
  for (const CommandSequence& sequence : editor_.Saved().Sequences())
    saved_->addItem(ToQt(sequence.name));
}

void SequencesWindow::FillSequenceCommands(int select) {
  {
    const QSignalBlocker quiet(commands_);
    commands_->clear();
    for (const CommandRecord& command : editor_.Current().commands)
      commands_->addItem(ToQt(command.title));
    if (select >= 0 && select < commands_->count()) commands_->setCurrentRow(select);
  }
  if (select >= 0) {
    ShowParameters();
  } else {
    ClearParameters();
  }
}

void SequencesWindow::ClearParameters() {
  parameters_->setRowCount(0);
}

void SequencesWindow::ShowParameters() {
  ClearParameters();
  const int command = SelectedCommand();
  if (command < 0) return;
  const auto& parameters = editor_.Current().commands[static_cast<size_t>(command)].parameters;
  parameters_->setRowCount(static_cast<int>(parameters.size()));
  for (int row = 0; row < static_cast<int>(parameters.size()); ++row) {
    const CommandParameter& parameter = parameters[static_cast<size_t>(row)];
    const QString cells[] = {ToQt(parameter.title),
                             QStr(parameter.mandatory ? StrId::kYes : StrId::kNo),
                             ToQt(parameter.value)};
    for (int column = 0; column < 3; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      item->setToolTip(cells[column]);
      parameters_->setItem(row, column, item);
    }
  }
  SizeValueColumn();
}

void SequencesWindow::SizeValueColumn() {
  // Each fits its header, or its widest value when that is wider.
  parameters_->resizeColumnToContents(1);
  parameters_->resizeColumnToContents(2);
}

int SequencesWindow::SelectedCommand() const {
  const QList<QListWidgetItem*> chosen = commands_->selectedItems();
  if (chosen.isEmpty()) return -1;
  const int row = commands_->row(chosen.first());
  return row < editor_.Current().commandCount ? row : -1;
}

QString SequencesWindow::SelectedSavedName() const {
  const QList<QListWidgetItem*> chosen = saved_->selectedItems();
  return chosen.isEmpty() ? QString() : chosen.first()->text();
}

void SequencesWindow::Add() {
  const QList<QListWidgetItem*> chosen = available_->selectedItems();
  if (chosen.isEmpty()) return;
  const int selected = SelectedCommand();
  const int added = editor_.AddCommand(FromQt(chosen.first()->text()), selected);
  // Without a selection the new command goes last, and the first is selected.
  if (added >= 0) FillSequenceCommands(selected < 0 ? 0 : added);
}

void SequencesWindow::RemoveSelected() {
  const int selected = SelectedCommand();
  if (selected < 0) return;
  FillSequenceCommands(editor_.RemoveCommand(selected));
  ClearParameters();
}

void SequencesWindow::EditSelectedRows() {
  const int command = SelectedCommand();
  if (command < 0 || busy_) return;
  busy_ = true;
  QList<int> rows;
  for (const QModelIndex& index : parameters_->selectionModel()->selectedRows())
    rows.append(index.row());
  std::sort(rows.begin(), rows.end());
  for (int row : rows) {
    if (editor_.EditParameter(command, row)) {
      const auto& parameter = editor_.Current()
                                  .commands[static_cast<size_t>(command)]
                                  .parameters[static_cast<size_t>(row)];
      if (QTableWidgetItem* value = parameters_->item(row, 2)) {
        value->setText(ToQt(parameter.value));
        value->setToolTip(value->text());
      }
    }
    SizeValueColumn();
  }
  busy_ = false;
}

void SequencesWindow::EditWholeCommand() {
  const int command = SelectedCommand();
  if (command < 0 || busy_) return;
  busy_ = true;
  editor_.EditAllParameters(command);
  busy_ = false;
  ShowParameters();
}

void SequencesWindow::NewSequence() {
  busy_ = true;
  const bool named = editor_.New();
  busy_ = false;
  if (named) FillSequenceCommands(-1);
  AfterReload();
}

void SequencesWindow::SaveSequence() {
  busy_ = true;
  editor_.Save(FromQt(SelectedSavedName()));
  busy_ = false;
  AfterReload();
}

void SequencesWindow::DeleteSequence() {
  busy_ = true;
  const bool deleted = editor_.Delete(FromQt(SelectedSavedName()));
  busy_ = false;
  if (!deleted) return;
  AfterReload();
  if (commands_->count() > 0) commands_->setCurrentRow(commands_->count() - 1);
}

void SequencesWindow::AfterReload() {
  FillSavedNames();
  if (editor_.Saved().Count() > 0) FillSequenceCommands(-1);
  delete_->setEnabled(editor_.Saved().Count() > 0);
}

void SequencesWindow::RunSequence() {
  if (busy_) return;
  busy_ = true;
  editor_.Run(FromQt(repetitions_->text()), FromQt(wait_->text()), stepByStep_->isChecked());
  busy_ = false;
}

void SequencesWindow::OpenSettings() {
  ui_.OpenLinkSettings(editor_.Settings());
}

void SequencesWindow::OpenHelp() {
  taloven::OpenHelp(ui_, editor_.Settings().workingDirectory, HelpTopic::kSequences);
}

void SequencesWindow::OpenReference() {
  OpenDocument(ui_, editor_.Settings().workingDirectory + "/comandos.xml");
}

void SequencesWindow::OpenGraphicCliche() {
  ui_.OpenGraphicCliche(editor_.Settings().portName);
}

}  // namespace taloven
