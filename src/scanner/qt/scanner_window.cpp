#include "scanner/qt/scanner_window.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "link/serial_devices.h"
#include "resources/qt/dialog_buttons.h"
#include "resources/qt/qt_text.h"
#include "scanner/qt/scanner_settings_dialog.h"
#include "scanner/scanner_profile.h"
#include "ui/qt/help_key.h"

namespace taloven {
namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* text) {
  return PlainButton(QString::fromUtf8(text), QString::fromLatin1(name), parent);
}

QLineEdit* Field(QWidget* parent, const char* name) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setReadOnly(true);
  return field;
}

}  // namespace

ScannerWindow::ScannerWindow(Ui& ui, QWidget* parent)
    : QDialog(parent), ui_(ui), capture_(ui, signals_) {
  setObjectName(QStringLiteral("scannerWindow"));
  setWindowTitle(QStringLiteral("pdf 417"));
  AddHelpKey(this, ui, HelpTopic::kScanner);

  setSize_ = Field(this, "setSize");
  readCount_ = Field(this, "readCount");
  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(QString::fromUtf8("Total de símbolos do conjunto:"), this), 0, 0);
  fields->addWidget(setSize_, 0, 1);
  fields->addWidget(new QLabel(QString::fromUtf8("Total de símbolos já lidos:"), this), 1, 0);
  fields->addWidget(readCount_, 1, 1);

  auto* result = new QGroupBox(QStringLiteral("Resultado da Leitura"), this);
  status_ = new QLabel(result);
  status_->setObjectName(QStringLiteral("status"));
  status_->setWordWrap(true);
  (new QVBoxLayout(result))->addWidget(status_);

  auto* dumpGroup = new QGroupBox(QStringLiteral("Dump"), this);
  dump_ = new QTextEdit(dumpGroup);
  dump_->setObjectName(QStringLiteral("dump"));
  dump_->setReadOnly(true);
  dump_->setLineWrapMode(QTextEdit::NoWrap);
  dump_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  dump_->setMinimumSize(
      QSize(QFontMetrics(dump_->font())
                .horizontalAdvance(QStringLiteral("000000  00 00 00 00 00 00 00 00  ")),
            200));
  (new QVBoxLayout(dumpGroup))->addWidget(dump_);

  configure_ = Button(this, "configure", "Configurar");
  start_ = Button(this, "start", "&Iniciar");
  stop_ = Button(this, "stop", "&Parar");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(configure_);
  buttons->addStretch();
  buttons->addWidget(start_);
  buttons->addWidget(stop_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(result);
  layout->addWidget(dumpGroup, 1);
  layout->addLayout(buttons);

  connect(configure_, &QPushButton::clicked, this, &ScannerWindow::Configure);
  connect(start_, &QPushButton::clicked, this, &ScannerWindow::StartCapture);
  connect(stop_, &QPushButton::clicked, this, &ScannerWindow::StopCapture);
  connect(&signals_, &CaptureSignals::refreshRequested, this, &ScannerWindow::ShowState,
          Qt::QueuedConnection);
  connect(
      &signals_, &CaptureSignals::beepRequested, this, [] { QApplication::beep(); },
      Qt::QueuedConnection);
  connect(&signals_, &CaptureSignals::allReadRequested, this, &ScannerWindow::AllRead,
          Qt::QueuedConnection);
  connect(&signals_, &CaptureSignals::lineLostRequested, this, &ScannerWindow::LineLost,
          Qt::QueuedConnection);
  ShowState();
}

ScannerWindow::~ScannerWindow() {
  // Nothing may be left reading into a window that is going away.
  if (capture_.IsCapturing()) capture_.ClosePort();
}

void ScannerWindow::done(int result) {
  // The symbols read so far are not thrown away unasked.
  if (capture_.IsCapturing()) {
    StopCapture();
    if (capture_.IsCapturing()) return;
  }
  QDialog::done(result);
}

void ScannerWindow::Configure() {
  ScannerSettingsDialog dialog(LoadScannerSettings(ui_, ScannerDefaults::Dialog),
                               PresentSerialDevices(), this);
  if (dialog.exec() == QDialog::Accepted) SaveScannerSettings(ui_, dialog.Chosen());
}

void ScannerWindow::StartCapture() {
  capture_.Start(LoadScannerSettings(ui_, ScannerDefaults::Capture));
  ShowState();
}

void ScannerWindow::StopCapture() {
  // The stop flow's questions let events through; one flow at a time.
  if (stopping_) return;
  stopping_ = true;
  capture_.Stop();
  stopping_ = false;
  ShowState();
  // The last symbol came while the user was asked: the user went back to
  // capture, and there is nothing left to capture.
  if (allReadPending_) {
    allReadPending_ = false;
    AllRead();
  }
  if (lineLostPending_) {
    lineLostPending_ = false;
    LineLost();
  }
}

void ScannerWindow::AllRead() {
  if (stopping_) {
    allReadPending_ = true;
    return;
  }
  // A stop the user made meanwhile has already saved the set.
  if (!capture_.IsCapturing()) return;
  ShowState();
  ui_.Message(W("Todos os símbolos foram lidos.\nPressione OK para continuar"), "Fim da Captura",
              MessageButtons::Ok, MessageIcon::Information);
  StopCapture();
}

void ScannerWindow::LineLost() {
  if (stopping_) {
    lineLostPending_ = true;
    return;
  }
  if (!capture_.IsCapturing()) return;
  ShowState();
  ui_.Message(capture_.Display().status, "Erro na porta", MessageButtons::Ok,
              MessageIcon::Exclamation);
  StopCapture();
}

void ScannerWindow::ShowState() {
  const CaptureDisplay display = capture_.Display();
  setSize_->setText(ToQt(display.setSize));
  readCount_->setText(ToQt(display.readCount));
  status_->setText(ToQt(display.status));
  if (dump_->toPlainText() != ToQt(display.dump)) dump_->setPlainText(ToQt(display.dump));
  const bool capturing = capture_.IsCapturing();
  start_->setEnabled(!capturing);
  stop_->setEnabled(capturing);
}

void OpenScannerWindow(Ui& ui, QWidget* parent) {
  // One window for the whole run, without a parent that could take it
  // along when it closes; it goes with the application. A window made for
  // another Ui (a test's, long gone) is not reused.
  static QPointer<ScannerWindow> window;
  static Ui* owner = nullptr;
  if (!window.isNull() && owner != &ui) delete window.data();
  if (window.isNull()) {
    window = new ScannerWindow(ui);
    owner = &ui;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, window.data(), &QObject::deleteLater);
  }
  if (parent != nullptr)
    window->move(parent->window()->geometry().center() - window->rect().center());
  window->exec();
}

}  // namespace taloven
