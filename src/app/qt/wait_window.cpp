#include "app/qt/wait_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "resources/qt/qt_text.h"

namespace taloven {
namespace {

// How long a new window may take the window manager to map before it is
// painted all the same.
constexpr int kExposeWaitMs = 1000;

// Lets the window appear and repaint while its creator keeps the thread busy,
// without handing the user's clicks and keys to anybody meanwhile. A window
// manager maps a new window in its own time; painting before that shows
// nothing, and the creator's work would leave black or stale pixels there.
void Paint(QWidget* window) {
  QElapsedTimer waited;
  waited.start();
  QWindow* handle = window->windowHandle();
  while (handle && !handle->isExposed() && waited.elapsed() < kExposeWaitMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(5);
  }
  window->repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  // The drawing must reach the screen before the thread goes busy.
  QGuiApplication::sync();
}

void CentreOver(QWidget* window, QWidget* owner) {
  const QRect area = owner && owner->isVisible() ? owner->window()->frameGeometry()
                     : window->screen()          ? window->screen()->availableGeometry()
                                                 : QRect();
  if (area.isValid()) window->move(area.center() - window->rect().center());
}

}  // namespace

WaitWindow::WaitWindow(QWidget* owner, const QString& text, const QString& labelName)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowStaysOnTopHint),
      label_(new QLabel(this)),
      bar_(new QProgressBar(this)) {
  setAttribute(Qt::WA_ShowWithoutActivating);
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
  SetText(text);
  adjustSize();
  CentreOver(this, owner);
  show();
  Paint(this);
}

void WaitWindow::SetText(const QString& text) {
  label_->setText(text.isEmpty() ? QStringLiteral("Aguarde......") : text);
  if (isVisible()) {
    adjustSize();
    Paint(this);
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
  if (isVisible()) Paint(this);
}

QString WaitWindow::Text() const {
  return label_->text();
}

WaitWindowHandle::~WaitWindowHandle() {
  delete window_.data();
}

void WaitWindowHandle::SetText(const std::string& text) {
  if (window_) window_->SetText(ToQt(text));
}

void WaitWindowHandle::SetProgress(long long done, long long total) {
  if (window_) window_->SetProgress(done, total);
}

void WaitWindowHandle::Hide() {
  if (window_) window_->hide();
}

}  // namespace taloven
