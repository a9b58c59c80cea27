#include "monitor/qt/monitor_window.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "resources/qt/dialog_buttons.h"
#include "resources/qt/qt_text.h"
#include "ui/ui.h"

namespace taloven {
namespace {

constexpr int kBatchEveryMs = 100;
constexpr int kColumns = 4;

// The program's side, unless the user names another: beside the working
// directory, where the user finds it again.
std::string ProposedProgramPath(const AppSettings& settings) {
  return (settings.workingDirectory.empty() ? std::string(".") : settings.workingDirectory) +
         "/ecf-monitor";
}

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

}  // namespace

MonitorWindow::MonitorWindow(const AppSettings& settings, const CommandCatalogue& catalogue, Ui& ui,
                             PortFactory& ports, QWidget* parent)
    : QDialog(parent), settings_(settings), ui_(ui), session_(catalogue, ui, ports) {
  setWindowTitle(ToQt(W("Monitor de comunicação")));
  setObjectName(QStringLiteral("monitorWindow"));

  printerPort_ = new QLineEdit(ToQt(settings_.portName), this);
  printerPort_->setObjectName(QStringLiteral("printerPort"));
  programPath_ = new QLineEdit(ToQt(ProposedProgramPath(settings_)), this);
  programPath_->setObjectName(QStringLiteral("programPath"));
  programPath_->setToolTip(
      ToQt(W("Configure o programa de frente de caixa para usar esta porta "
             "em vez da porta da impressora")));
  start_ = PlainButton(ToQt(W("&Iniciar")), QStringLiteral("start"), this);
  stop_ = PlainButton(ToQt(W("&Parar")), QStringLiteral("stop"), this);
  save_ = PlainButton(ToQt(W("Salvar")), QStringLiteral("save"), this);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("status"));
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  status_->setWordWrap(true);

  table_ = new QTableWidget(0, kColumns, this);
  table_->setObjectName(QStringLiteral("exchanges"));
  table_->setHorizontalHeaderLabels(
      {ToQt(W("Hora")), ToQt(W("Comando")), ToQt(W("Status")), ToQt(W("ms"))});
  table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
  table_->verticalHeader()->setVisible(false);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);

  details_ = new QPlainTextEdit(this);
  details_->setObjectName(QStringLiteral("details"));
  details_->setReadOnly(true);
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  details_->setFont(fixed);
  details_->setTabStopDistance(8 * QFontMetricsF(fixed).horizontalAdvance(QLatin1Char(' ')));

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(ToQt(W("Porta da impressora:")), this), 0, 0);
  grid->addWidget(printerPort_, 0, 1);
  grid->addWidget(new QLabel(ToQt(W("Porta do programa:")), this), 1, 0);
  grid->addWidget(programPath_, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(start_);
  buttons->addWidget(stop_);
  buttons->addStretch();
  buttons->addWidget(save_);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(table_);
  split->addWidget(details_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->addWidget(status_);
  layout->addWidget(split, 1);
  resize(760, 560);

  timer_ = new QTimer(this);
  timer_->setInterval(kBatchEveryMs);
  connect(timer_, &QTimer::timeout, this, [this] { TakeFresh(); });
  connect(start_, &QPushButton::clicked, this, [this] { StartMonitor(); });
  connect(stop_, &QPushButton::clicked, this, [this] { StopMonitor(); });
  connect(save_, &QPushButton::clicked, this, [this] { session_.Save(); });
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { ShowSelected(); });
  ShowState();
}

MonitorWindow::~MonitorWindow() {
  session_.Stop();
}

void MonitorWindow::done(int result) {
  StopMonitor();
  QDialog::done(result);
}

void MonitorWindow::StartMonitor() {
  MonitorSettings settings;
  settings.printerPort = FromQt(printerPort_->text().trimmed());
  settings.linkPath = FromQt(programPath_->text().trimmed());
  settings.watch.workingDirectory = settings_.workingDirectory;
  const Status started = session_.Start(settings);
  if (!started.ok()) {
    status_->setText(ToQt(started.message()));
    ui_.Message(started.message(), W("Monitor de comunicação"), MessageButtons::Ok,
                MessageIcon::Error);
    return;
  }
  timer_->start();
  TakeFresh();
  ShowState();
}

void MonitorWindow::StopMonitor() {
  if (!session_.Running()) return;
  session_.Stop();
  timer_->stop();
  TakeFresh();
  ShowState();
}

void MonitorWindow::TakeFresh() {
  std::vector<std::string> notices;
  std::vector<MonitorEntry> fresh = session_.TakeEntries(&notices);
  if (!notices.empty()) status_->setText(ToQt(notices.back()));
  if (fresh.empty()) return;
  // One layout pass for the whole batch, and the newest row in sight
  // unless the user is looking at an older one.
  const bool follow = table_->selectedItems().isEmpty();
  table_->setUpdatesEnabled(false);
  int row = table_->rowCount();
  table_->setRowCount(row + static_cast<int>(fresh.size()));
  for (MonitorEntry& entry : fresh) {
    table_->setItem(row, 0, Cell(ToQt(entry.time)));
    table_->setItem(row, 1, Cell(ToQt(entry.command)));
    table_->setItem(row, 2, Cell(ToQt(entry.status)));
    table_->setItem(row, 3, Cell(QString::number(entry.elapsedMs)));
    if (entry.refused)
      for (int column = 0; column < kColumns; ++column)
        table_->item(row, column)->setForeground(Qt::red);
    entries_.push_back(std::move(entry));
    ++row;
  }
  table_->setUpdatesEnabled(true);
  if (follow) table_->scrollToBottom();
}

void MonitorWindow::ShowSelected() {
  const QList<QTableWidgetItem*> selected = table_->selectedItems();
  if (selected.isEmpty()) return;
  const auto row = static_cast<size_t>(selected.first()->row());
  if (row >= entries_.size()) return;
  const MonitorEntry& entry = entries_[row];
  std::string text = entry.text;
  if (!entry.dump.empty()) text += "\n" + entry.dump;
  details_->setPlainText(ToQt(text));
}

void MonitorWindow::ShowState() {
  const bool running = session_.Running();
  start_->setEnabled(!running);
  stop_->setEnabled(running);
  printerPort_->setReadOnly(running);
  programPath_->setReadOnly(running);
}

}  // namespace taloven
