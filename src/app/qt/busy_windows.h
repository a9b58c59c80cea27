#pragma once

#include <QWidget>

namespace taloven {

// The windows that only announce work, the wait and progress windows, give
// way to every window that asks the user something. While a modal window
// other than them is up, the wait windows step aside (they come back when it
// closes) and it opens above the progress windows, with the keyboard.
class BusyWindows {
 public:
  // From a busy window's making to its end.
  static void Add(QWidget* window);
  static void Remove(QWidget* window);
  // For a plain busy window about to show: true when a modal busy window is
  // up, and the plain one is then shown only once that one has gone.
  static bool WaitsAside(QWidget* window);

  // The window a question raised now belongs to: the modal busy window on
  // the screen, else wanted. A busy window disables the window it waits
  // over, and a question owned by a disabled window could not be answered.
  static QWidget* QuestionOwner(QWidget* wanted);

  // Lets a window appear and repaint while its creator keeps the thread
  // busy, without handing the user's clicks and keys to anybody meanwhile
  // but a modal window itself.
  static void Paint(QWidget* window);
};

}  // namespace taloven
