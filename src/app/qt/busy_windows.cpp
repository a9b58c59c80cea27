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

// Watches every window the application shows for the modal ones: questions,
// and the busy windows that have a Cancel.
class QuestionWatch : public QObject {
 public:
  QList<QPointer<QWidget>> busy;

  bool IsBusy(const QWidget* window) const {
    for (const QPointer<QWidget>& b : busy)
      if (b == window) return true;
    return false;
  }

  // A plain busy window made while a modal busy window is up waits aside
  // for it. Not for the modal dialogs the work runs under.
  bool SetAside(QWidget* plain) {
    for (const QPointer<QWidget>& b : busy) {
      if (!b || b == plain || !b->isModal() || !b->isVisible()) continue;
      aside_[b] << QPointer<QWidget>(plain);
      return true;
    }
    return false;
  }

  // Also when a modal busy window goes without hiding first.
  void Closed(const QWidget* modal) {
    const QList<QPointer<QWidget>> aside = aside_.take(modal);
    for (const QPointer<QWidget>& b : aside) {
      // One its work has let go of, or hidden itself, stays away; so does
      // one another window still up keeps aside.
      if (!b || !IsBusy(b) || IsAside(b)) continue;
      b->show();
      BusyWindows::Paint(b);
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && watched->isWidgetType()) {
      auto* window = static_cast<QWidget*>(watched);
      // A plain wait window is never modal: this is never one of them.
      if (window->isWindow() && window->isModal())
        type == QEvent::Show ? Opened(window) : Closed(window);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool IsAside(const QWidget* window) const {
    for (const QList<QPointer<QWidget>>& list : aside_)
      for (const QPointer<QWidget>& b : list)
        if (b == window) return true;
    return false;
  }

  void Opened(QWidget* modal) {
    bool overProgress = false;
    QList<QPointer<QWidget>> hidden;
    for (const QPointer<QWidget>& b : busy) {
      if (!b || b == modal) continue;
      // A modal busy window has a Cancel the user may still want after
      // answering: it stays, below the question. A plain one steps aside
      // for it too, since it would cover its text and its Cancel.
      if (b->isModal()) {
        overProgress = overProgress || b->isVisible();
      } else if (b->isVisible()) {
        b->hide();
        hidden << b;
      } else if (IsAside(b)) {
        // Back only once both have gone.
        hidden << b;
      }
    }
    if (!hidden.isEmpty()) aside_[modal] << hidden;
    if (IsBusy(modal)) return;
    // The window is not mapped yet: the flag goes with its first showing.
    if (QWindow* handle = modal->windowHandle(); handle && overProgress)
      handle->setFlags(handle->flags() | Qt::WindowStaysOnTopHint);
    QPointer<QWidget> shown(modal);
    QTimer::singleShot(0, modal, [shown] {
      if (!shown) return;
      shown->raise();
      shown->activateWindow();
    });
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
  Watch().Closed(window);
}

bool BusyWindows::WaitsAside(QWidget* window) {
  return Watch().SetAside(window);
}

QWidget* BusyWindows::QuestionOwner(QWidget* wanted) {
  for (const QPointer<QWidget>& b : Watch().busy)
    if (b && b->isVisible() && b->isModal()) return b;
  return wanted;
}

// A window manager maps a new window in its own time; painting before that
// shows nothing, and the creator's work would leave black or stale pixels.
void BusyWindows::Paint(QWidget* window) {
  // A modal one refuses the other windows' input itself, and its own input
  // only asks its work to stop: it takes every event. Input held back here
  // would on X11 stay unseen by the window's next look until some other
  // event came, and a click on its Cancel would be lost.
  const QEventLoop::ProcessEventsFlags events =
      window->isModal() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
  QElapsedTimer waited;
  waited.start();
  QWindow* handle = window->windowHandle();
  while (handle && !handle->isExposed() && waited.elapsed() < kExposeWaitMs) {
    QCoreApplication::processEvents(events);
    QThread::msleep(5);
  }
  window->repaint();
  QCoreApplication::processEvents(events);
  // The drawing must reach the screen before the thread goes busy.
  QGuiApplication::sync();
}

}  // namespace taloven
