#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "app/qt/qt_ui.h"
#include "replies/qt/results_window.h"
#include "resources/qt/qt_text.h"

namespace taloven {
namespace {

class LabelWindow : public WaitHandle {
 public:
  LabelWindow(QWidget* parent, const std::string& text) : dialog_(new QDialog(parent)) {
    dialog_->setWindowTitle(QStr(32915));
    auto* layout = new QVBoxLayout(dialog_);
    label_ = new QLabel(text.empty() ? QStringLiteral("Aguarde......") : ToQt(text), dialog_);
    layout->addWidget(label_);
    dialog_->setModal(false);
    dialog_->show();
    QApplication::processEvents();
  }
  ~LabelWindow() override {
    if (dialog_) dialog_->deleteLater();
  }
  void SetText(const std::string& text) override {
    if (label_) label_->setText(ToQt(text));
    QApplication::processEvents();
  }
  void Hide() override {
    if (dialog_) dialog_->hide();
  }

 private:
  QPointer<QDialog> dialog_;
  QPointer<QLabel> label_;
};

class SimpleProgressView : public ProgressView {
 public:
  SimpleProgressView(QWidget* parent, const std::string& title) : window_(new QDialog(parent)) {
    window_->setWindowTitle(ToQt(title));
    auto* layout = new QVBoxLayout(window_);
    message_ = new QLabel(window_);
    bar_ = new QProgressBar(window_);
    auto* cancel = new QPushButton(QStringLiteral(" Cancelar "), window_);
    layout->addWidget(message_);
    layout->addWidget(bar_);
    layout->addWidget(cancel);
    QObject::connect(cancel, &QPushButton::clicked, [this] { clicked_ = true; });
    window_->show();
  }
  ~SimpleProgressView() override {
    if (window_) window_->deleteLater();
  }
  void SetCaption(const std::string& caption) override {
    if (window_) window_->setWindowTitle(ToQt(caption));
  }
  void SetMessage(const std::string& message) override {
    if (message_) message_->setText(ToQt(message));
  }
  void SetRange(int lower, int upper) override {
    if (bar_) bar_->setRange(lower, upper);
  }
  void SetPosition(int position) override {
    if (bar_) bar_->setValue(position);
  }
  void SetModal(bool) override {}
  void Hide() override {
    if (window_) window_->hide();
  }
  ProgressEvents Pump() override {
    QApplication::processEvents();
    ProgressEvents events;
    events.cancelClicked = clicked_;
    clicked_ = false;
    return events;
  }
  bool Exists() const override { return !window_.isNull(); }

 private:
  QPointer<QDialog> window_;
  QPointer<QLabel> message_;
  QPointer<QProgressBar> bar_;
  bool clicked_ = false;
};

QString FilterText(const std::vector<FileFilter>& filters) {
  QStringList parts;
  for (const auto& f : filters) parts << ToQt(f.label) + " (" + ToQt(f.pattern) + ")";
  return parts.join(";;");
}

}  // namespace

MessageAnswer QtUi::Message(const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon) {
  QMessageBox box(parent_);
  box.setWindowTitle(caption.empty() ? QStr(32915) : ToQt(caption));
  box.setText(ToQt(text));
  switch (icon) {
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MessageIcon::None:
      break;
  }
  switch (buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    default:
      return MessageAnswer::Cancel;
  }
}

std::unique_ptr<WaitHandle> QtUi::ShowWait(const std::string& text) {
  return std::make_unique<LabelWindow>(parent_, text);
}

std::unique_ptr<WaitHandle> QtUi::ShowConnection(const std::string& text) {
  return std::make_unique<LabelWindow>(parent_, text);
}

std::unique_ptr<ProgressView> QtUi::CreateProgress(const std::string& title, bool) {
  return std::make_unique<SimpleProgressView>(parent_, title);
}

void QtUi::Pause(int ms) {
  if (ms <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

std::optional<std::string> QtUi::SaveFileName(const std::string& proposedName,
                                              const std::string& defaultExtension,
                                              const std::vector<FileFilter>& filters) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(FilterText(filters));
  dialog.selectFile(ToQt(proposedName));
  QString ext = ToQt(defaultExtension);
  ext.remove("*.");
  dialog.setDefaultSuffix(ext);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQt(dialog.selectedFiles().first());
}

std::optional<std::string> QtUi::OpenFileName(const std::vector<FileFilter>& filters) {
  QString name = QFileDialog::getOpenFileName(parent_, QString(), QString(), FilterText(filters));
  if (name.isEmpty()) return std::nullopt;
  return FromQt(name);
}

bool QtUi::ShellOpen(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(ToQt(path)));
}

void QtUi::ShowResults(const std::string& message, const std::string& dump) {
  // The save dialogs belong to the results window, not to its opener.
  QtUi windowUi(parent_);
  ResultsWindow window(message, dump, windowUi, parent_);
  windowUi.SetParent(&window);
  window.exec();
}

}  // namespace taloven
