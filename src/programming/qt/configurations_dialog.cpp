#include "programming/qt/configurations_dialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/qt/qt_text.h"
#include "ui/qt/help_key.h"

namespace taloven {
namespace {

QComboBox* EditableBox(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMinimumContentsLength(20);
  return box;
}

}  // namespace

ConfigurationsDialog::ConfigurationsDialog(const std::string& workingDirectory, Ui& ui,
                                           QWidget* parent)
    : QDialog(parent),
      chooser_(workingDirectory, ui),
      clients_(EditableBox("clients", this)),
      serials_(EditableBox("serials", this)),
      found_(new QListWidget(this)),
      description_(new QPlainTextEdit(this)) {
  setWindowTitle(QString::fromUtf8("Carregar configurações existentes"));
  AddHelpKey(this, ui, HelpTopic::kProgramming);
  found_->setObjectName("found");
  // Long serial numbers scroll sideways instead of being cut.
  found_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  description_->setObjectName("description");
  description_->setReadOnly(true);

  auto* layout = new QVBoxLayout(this);
  auto* search = new QGridLayout;
  search->addWidget(new QLabel("Clientes", this), 0, 0);
  search->addWidget(clients_, 1, 0);
  search->addWidget(new QLabel(QString::fromUtf8("Número de série"), this), 0, 1);
  search->addWidget(serials_, 1, 1);
  auto* find = new QPushButton("Procurar", this);
  find->setObjectName("search");
  search->addWidget(find, 1, 2);
  layout->addLayout(search);
  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel("Registros encontrados", this), 0, 0);
  lists->addWidget(found_, 1, 0);
  lists->addWidget(new QLabel(QString::fromUtf8("Descrição"), this), 0, 1);
  lists->addWidget(description_, 1, 1);
  layout->addLayout(lists);
  auto* buttons = new QHBoxLayout;
  auto* remove = new QPushButton("Excluir", this);
  remove->setObjectName("delete");
  auto* cancel = new QPushButton("Cancelar", this);
  cancel->setObjectName("2");
  auto* load = new QPushButton(QString::fromUtf8("Carregar configuração"), this);
  load->setObjectName("1");
  load->setDefault(true);
  buttons->addWidget(remove);
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  buttons->addWidget(load);
  layout->addLayout(buttons);

  connect(find, &QPushButton::clicked, this, &ConfigurationsDialog::Search);
  connect(found_, &QListWidget::itemSelectionChanged, this, &ConfigurationsDialog::SelectEntry);
  connect(remove, &QPushButton::clicked, this, &ConfigurationsDialog::Delete);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(load, &QPushButton::clicked, this, &ConfigurationsDialog::Load);
  // Typing a client starts a new search: the serial typed before no longer
  // goes with it.
  connect(clients_->lineEdit(), &QLineEdit::textEdited, this,
          [this] { serials_->setEditText(QString()); });
  clients_->lineEdit()->installEventFilter(this);

  chooser_.Open();
  FillDropDowns();
}

bool ConfigurationsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == clients_->lineEdit() && event->type() == QEvent::FocusOut) {
    const std::string client = FromQt(clients_->currentText());
    if (!client.empty()) {
      chooser_.ClientLeft(client);
      Fill(serials_, chooser_.Serials());
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ConfigurationsDialog::Fill(QComboBox* box, const std::vector<std::string>& entries) {
  box->clear();
  for (const std::string& entry : entries) box->addItem(ToQt(entry));
  box->setEditText(QString());
}

void ConfigurationsDialog::FillDropDowns() {
  Fill(clients_, chooser_.Clients());
  Fill(serials_, chooser_.Serials());
  found_->clear();
  description_->clear();
}

void ConfigurationsDialog::Search() {
  chooser_.Search(FromQt(clients_->currentText()), FromQt(serials_->currentText()));
  found_->clear();
  for (const std::string& serial : chooser_.Found()) found_->addItem(ToQt(serial));
  description_->clear();
  Fill(serials_, chooser_.Serials());
  clients_->setEditText(QString());
}

void ConfigurationsDialog::SelectEntry() {
  QListWidgetItem* item = found_->currentItem();
  if (!item) return;
  chooser_.Select(FromQt(item->text()));
  QString text = ToQt(chooser_.Description());
  text.replace("\r\n", "\n");
  description_->setPlainText(text);
}

void ConfigurationsDialog::Delete() {
  QListWidgetItem* item = found_->currentItem();
  if (!item) return;
  chooser_.Delete(FromQt(item->text()));
  FillDropDowns();
}

void ConfigurationsDialog::Load() {
  if (chooser_.Confirm()) accept();
}

}  // namespace taloven
