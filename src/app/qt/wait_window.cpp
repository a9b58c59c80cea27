#include "app/qt/wait_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "app/qt/busy_windows.h"
#include "resources/qt/qt_text.h"

namespace taloven {
namespace {

// How often a long work lets the user's clicks and keys through: often
// enough for Cancel to answer at once, seldom enough to cost the work
// nothing.
constexpr int kLookEveryMs = 50;

void CentreOver(QWidget* window, QWidget* owner) {
  const QRect area = owner && owner->isVisible() ? owner->window()->frameGeometry()
                     : window->screen()          ? window->screen()->availableGeometry()
                                                 : QRect();
  if (area.isValid()) window->move(area.center() - window->rect().center());
}

}  // namespace

WaitWindow::WaitWindow(QWidget* owner, const QString& text, const QString& labelName,
                       bool cancellable)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowStaysOnTopHint),
      label_(new QLabel(this)),
      bar_(new QProgressBar(this)) {
  setWindowTitle(QStr(StrId::kProductName));
  setCursor(Qt::WaitCursor);
  label_->setObjectName(labelName);
  label_->setTextFormat(Qt::PlainText);
  label_->setAlignment(Qt::AlignCenter);
  label_->setMinimumWidth(320);
  bar_->setRange(0, 1000);
  bar_->hide();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  layout->addWidget(label_);
  layout->addWidget(bar_);
  if (cancellable) {
    // Modal: a click meant for another window is refused now, rather than
    // run once the work has ended.
    setWindowModality(Qt::ApplicationModal);
    cancel_ = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    cancel_->setCursor(Qt::ArrowCursor);
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, &WaitWindow::Cancel);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(cancel_);
    layout->addLayout(row);
  } else {
    setAttribute(Qt::WA_ShowWithoutActivating);
  }
  SetText(text);
  adjustSize();
  CentreOver(this, owner);
  BusyWindows::Add(this);
  if (!cancel_ && BusyWindows::WaitsAside(this)) return;
  show();
  if (cancel_) cancel_->setFocus();
  BusyWindows::Paint(this);
}

WaitWindow::~WaitWindow() {
  BusyWindows::Remove(this);
}

void WaitWindow::Cancel() {
  if (!cancel_ || cancelled_) return;
  cancelled_ = true;
  cancel_->setEnabled(false);
}

void WaitWindow::keyPressEvent(QKeyEvent* event) {
  if (cancel_ && event->key() == Qt::Key_Escape) {
    Cancel();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void WaitWindow::closeEvent(QCloseEvent* event) {
  // The window lives as long as its work, whatever the window manager
  // offers: the close box of one with "Cancelar" asks the work to stop, as
  // the button does, and that of a plain one does nothing.
  Cancel();
  event->ignore();
}

void WaitWindow::SetText(const QString& text) {
  label_->setText(text.isEmpty() ? QStringLiteral("Aguarde......") : text);
  if (isVisible()) {
    adjustSize();
    BusyWindows::Paint(this);
  }
}

void WaitWindow::SetProgress(long long done, long long total) {
  // An unknown total makes the bar a busy indicator.
  const int position =
      total > 0 ? static_cast<int>(std::clamp(done, 0LL, total) * 1000 / total) : 0;
  bar_->setRange(0, total > 0 ? 1000 : 0);
  if (bar_->value() == position && bar_->isVisible()) return;
  bar_->setValue(position);
  if (bar_->isHidden()) {
    bar_->show();
    adjustSize();
  }
  if (isVisible()) BusyWindows::Paint(this);
}

QString WaitWindow::Text() const {
  return label_->text();
}

WaitWindowHandle::~WaitWindowHandle() {
  // Input that came after the last look is refused too, while the window
  // still stands in the way of the others.
  if (window_ && window_->isModal()) QCoreApplication::processEvents(QEventLoop::AllEvents);
  delete window_.data();
}

void WaitWindowHandle::SetText(const std::string& text) {
  if (window_) window_->SetText(ToQt(text));
}

void WaitWindowHandle::SetProgress(long long done, long long total) {
  if (window_) window_->SetProgress(done, total);
}

void WaitWindowHandle::Hide() {
  if (!window_) return;
  // Hidden by its work: no question that closes brings it back.
  BusyWindows::Remove(window_);
  window_->hide();
}

bool WaitWindowHandle::CancelRequested() {
  if (!window_ || !window_->CancelButton()) return false;
  if (!sinceLook_.isValid() || sinceLook_.elapsed() >= kLookEveryMs) {
    sinceLook_.start();
    // The modal window takes Cancel's click; the others' are thrown away.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  return window_ && window_->Cancelled();
}

}  // namespace taloven
