#include "app/qt/busy_windows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWindow>

namespace taloven {
namespace {

// How long a new window may take the window manager to map before it is
// painted all the same.
constexpr int kExposeWaitMs = 1000;

// Watches every window the application shows for the modal ones that are
// not busy windows themselves.
class QuestionWatch : public QObject {
 public:
  QList<QPointer<QWidget>> busy;

  bool IsBusy(const QWidget* window) const {
    for (const QPointer<QWidget>& b : busy)
      if (b == window) return true;
    return false;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && watched->isWidgetType()) {
      auto* window = static_cast<QWidget*>(watched);
      if (window->isWindow() && window->isModal() && !IsBusy(window))
        type == QEvent::Show ? Opened(window) : Closed(window);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Opened(QWidget* question) {
    bool overProgress = false;
    QList<QPointer<QWidget>> hidden;
    for (const QPointer<QWidget>& b : busy) {
      if (!b || !b->isVisible()) continue;
      // A modal busy window has a Cancel the user may still want after
      // answering: it stays, below the question.
      if (b->isModal()) {
        overProgress = true;
      } else {
        b->hide();
        hidden << b;
      }
    }
    if (!hidden.isEmpty()) aside_.insert(question, hidden);
    // The window is not mapped yet: the flag goes with its first showing.
    if (QWindow* handle = question->windowHandle(); handle && overProgress)
      handle->setFlags(handle->flags() | Qt::WindowStaysOnTopHint);
    QPointer<QWidget> shown(question);
    QTimer::singleShot(0, question, [shown] {
      if (!shown) return;
      shown->raise();
      shown->activateWindow();
    });
  }

  void Closed(QWidget* question) {
    for (const QPointer<QWidget>& b : aside_.take(question)) {
      if (!b) continue;
      b->show();
      BusyWindows::Paint(b);
    }
  }

  QHash<const QWidget*, QList<QPointer<QWidget>>> aside_;
};

QuestionWatch& Watch() {
  static QPointer<QuestionWatch> watch;
  if (!watch) {
    watch = new QuestionWatch;
    watch->setParent(qApp);
    qApp->installEventFilter(watch);
  }
  return *watch;
}

}  // namespace

void BusyWindows::Add(QWidget* window) {
  Watch().busy << QPointer<QWidget>(window);
}

void BusyWindows::Remove(QWidget* window) {
  Watch().busy.removeIf([window](const QPointer<QWidget>& b) { return !b || b == window; });
}

QWidget* BusyWindows::QuestionOwner(QWidget* wanted) {
  for (const QPointer<QWidget>& b : Watch().busy)
    if (b && b->isVisible() && b->isModal()) return b;
  return wanted;
}

// A window manager maps a new window in its own time; painting before that
// shows nothing, and the creator's work would leave black or stale pixels.
void BusyWindows::Paint(QWidget* window) {
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

}  // namespace taloven
