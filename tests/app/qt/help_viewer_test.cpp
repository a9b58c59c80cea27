#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <functional>

#include "app/qt/main_window.h"
#include "app/qt/qt_ui.h"
#include "resources/qt/qt_text.h"
#include "support/scripted_port.h"
#include "support/test_clock.h"
#include "ui/open_document.h"

namespace taloven {

// A desktop with no program for the help file or the catalogue: F1 and
// "Referência dos Comandos" say so and name what to install, instead of
// leaving the reason on the error stream of the desktop's opener.
class HelpViewerTest : public QObject {
  Q_OBJECT

  QTemporaryDir desktop_;  // the desktop's (empty) program registry

  // The text of the message box the action raises, closed once read.
  static QString MessageAfter(const std::function<void()>& action) {
    QString text;
    QTimer::singleShot(0, [&] {
      if (!QTest::qWaitFor([] {
            return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
          }))
        return;
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      text = box->text();
      box->accept();
    });
    action();
    return text;
  }

 private slots:
  void initTestCase() {
    for (const char* variable :
         {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
      qputenv(variable, QDir(desktop_.path()).filePath(variable).toUtf8());
    for (const char* variable : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID", "BROWSER"})
      qunsetenv(variable);
  }

  void namesWhatToInstall() {
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("help");
    std::ofstream(QDir(folder.path()).filePath("help/Taloven_Help.chm").toStdString()) << "ITSF";
    std::ofstream(QDir(folder.path()).filePath("comandos.xml").toStdString()) << "<comandos/>";
    AppSettings settings;
    settings.workingDirectory = FromQt(folder.path());
    QtUi ui;
    testing::TestClock clock;
    testing::ScriptedLine line;
    testing::ScriptedPortFactory ports(line);
    MainWindow window(settings, ui, ports, clock);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    const QString help = MessageAfter([&] { QTest::keyClick(&window, Qt::Key_F1); });
    QVERIFY2(help.contains("Taloven_Help.chm") && help.contains("apt-get install xchm"),
             qPrintable(help));
    const QString reference =
        MessageAfter([&] { OpenDocument(ui, settings.workingDirectory + "/comandos.xml"); });
    QVERIFY2(reference.contains("comandos.xml") && reference.contains("apt-get install"),
             qPrintable(reference));
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::HelpViewerTest)
#include "help_viewer_test.moc"
