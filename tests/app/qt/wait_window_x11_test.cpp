// The wait window with "Cancelar" on a real X server, as users run it. There
// a click that came while the window repainted, in work started by another
// click, was once lost; the offscreen platform the other window tests use
// delivers input by another path and never loses it. Runs on a private
// Xvfb, clicked through xdotool; skipped without them.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QtTest>
#include <cstdlib>
#include <string>

#include "app/qt/qt_ui.h"
#include "app/qt/wait_window.h"

namespace taloven {
namespace {

// A private X server on a display nobody else uses, for this program's life.
class XServer {
 public:
  XServer() {
    for (int attempt = 0; attempt < 20 && display_.empty(); ++attempt) {
      const std::string number = std::to_string(100 + (::getpid() + attempt) % 100);
      const std::string display = ":" + number;
      const std::string socket = "/tmp/.X11-unix/X" + number;
      // Taken, or left behind by a server that died: not ours to clear.
      if (::access(socket.c_str(), F_OK) == 0 ||
          ::access(("/tmp/.X" + number + "-lock").c_str(), F_OK) == 0)
        continue;
      pid_ = ::fork();
      if (pid_ == 0) {
        ::execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        ::_exit(127);
      }
      if (pid_ < 0) return;
      // Ready once its socket is there; gone at once when the display is taken.
      for (int waited = 0; waited < 300; ++waited) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
          pid_ = -1;
          break;
        }
        if (::access(socket.c_str(), F_OK) == 0) {
          display_ = display;
          break;
        }
        ::usleep(10000);
      }
    }
  }
  ~XServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  const std::string& Display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

bool HaveXdotool() {
  return std::system("command -v xdotool >/dev/null 2>&1") == 0;
}

// Spends about ms milliseconds of the thread, as a report's work does.
void Work(int ms) {
  QElapsedTimer spent;
  spent.start();
  volatile unsigned sum = 0;
  while (spent.elapsed() < ms) sum = sum + 1;
}

// Clicks the middle of target through the X server after delay seconds,
// while the caller goes on.
void ClickLater(const QWidget* target, const char* delay) {
  const QPoint at = target->mapToGlobal(target->rect().center());
  const std::string click = std::string("sleep ") + delay + "; xdotool mousemove " +
                            std::to_string(at.x()) + " " + std::to_string(at.y()) + " click 1 &";
  QCOMPARE(std::system(click.c_str()), 0);
}

}  // namespace

class WaitWindowX11Test : public QObject {
  Q_OBJECT

 private slots:
  // As a menu item of the MFD window starts a report: the work runs inside
  // the handling of the user's click.
  void aClickOnCancelarIsHeardWhileTheWorkRedrawsTheBar() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb") || !HaveXdotool())
      QSKIP("no private X server or no xdotool");
    QWidget owner;
    owner.resize(400, 300);
    QPushButton start(QStringLiteral("Iniciar"), &owner);
    start.setGeometry(20, 20, 120, 30);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QtUi ui(&owner);
    bool cancelled = false;
    bool ran = false;
    connect(&start, &QPushButton::clicked, [&] {
      ran = true;
      auto wait = ui.ShowCancellableWait("");
      WaitWindow* window = static_cast<WaitWindowHandle*>(wait.get())->Window();
      // The bar comes with the first report, and moves the button down.
      wait->SetProgress(0, 50);
      ClickLater(window->CancelButton(), "0.5");
      QElapsedTimer sinceStart;
      sinceStart.start();
      // Each report moves the bar, so that the window repaints between looks.
      // A click not heard in ten seconds, on however busy a machine, was lost.
      for (long long done = 1; sinceStart.elapsed() < 10000; ++done) {
        Work(100);
        wait->SetProgress(done % 50, 50);
        if (!wait->CancelRequested()) continue;
        cancelled = true;
        break;
      }
    });
    ClickLater(&start, "0");
    QTRY_VERIFY_WITH_TIMEOUT(ran, 5000);
    QVERIFY2(cancelled, "the click on Cancelar was lost");
  }
};

}  // namespace taloven

int main(int argc, char** argv) {
  // Chosen before the application starts: the test's own X server, else the
  // platform the test runner set, on which the test is skipped.
  taloven::XServer server;
  if (!server.Display().empty()) {
    ::setenv("DISPLAY", server.Display().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    // On X, Qt looks for a session bus, which a private display has none of;
    // left looking, its bus thread keeps a buffer past the end that the leak
    // checker reports. A bus that plainly is not there ends the search.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
  }
  QApplication application(argc, argv);
  taloven::WaitWindowX11Test test;
  return QTest::qExec(&test, argc, argv);
}

#include "wait_window_x11_test.moc"
