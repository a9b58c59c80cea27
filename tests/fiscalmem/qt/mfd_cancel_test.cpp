// A download run from the MFD window's operations with the program's own
// windows, the real fiscal-memory library and the virtual printer: the user
// presses "Cancelar" in the wait window, and a click meant meanwhile for
// another window does nothing, then or later.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

#include "app/qt/qt_ui.h"
#include "app/qt/wait_window.h"
#include "base/atomic_file.h"
#include "base/read_file.h"
#include "emulator/emulator_process.h"
#include "fiscalmem/mfd_operations.h"
#include "fiscalmem/system_dir_override.h"
#include "resources/strings.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

// The program's windows, except that the file asked for is given and the
// messages are noted rather than shown.
class NotingUi : public QtUi {
 public:
  using QtUi::QtUi;
  std::string path;
  std::vector<std::string> told;

  std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                          const std::vector<FileFilter>&) override {
    return path;
  }
  MessageAnswer Message(const std::string& text, const std::string&, MessageButtons,
                        MessageIcon) override {
    told.push_back(text);
    return MessageAnswer::Ok;
  }
};

WaitWindow* ShownWait() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* wait = qobject_cast<WaitWindow*>(window);
    if (wait && wait->isVisible()) return wait;
  }
  return nullptr;
}

void ClickThroughTheWindowSystem(QWidget* target) {
  QWidget* window = target->window();
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    target->mapTo(window, target->rect().center()));
}

}  // namespace

class MfdCancelTest : public QObject {
  Q_OBJECT

 private slots:
  void cancelStopsTheDownloadAndOtherWindowsRefuseInput_data() {
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<int>("pressAfterMs");
    // Slow enough that the download is still going when the user acts.
    QTest::newRow("between blocks") << QStringList{"--fault-slow", "2"} << 0;
    // The window answers, and the cancel is heard, while a block is awaited.
    QTest::newRow("in a block that stalls") << QStringList{"--fault-stall", "2000"} << 500;
  }

  void cancelStopsTheDownloadAndOtherWindowsRefuseInput() {
    QFETCH(QStringList, faults);
    QFETCH(int, pressAfterMs);
    testing::TempDirectory dir;
    const std::string d = dir.Path().string();
    std::vector<std::string> arguments = {"--pty", "--link", d + "/tty", "--model", "ECF-T08"};
    for (const QString& fault : faults) arguments.push_back(fault.toStdString());
    emulator::testing::EmulatorProcess printer(arguments);
    testing::SystemDirOverride system(TALOVEN_LIBRARY_DIR);

    QWidget main;
    main.resize(400, 300);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QPushButton other(QStringLiteral("Arquivo"));
    int otherClicks = 0;
    connect(&other, &QPushButton::clicked, [&] { ++otherClicks; });
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));

    NotingUi ui(&main);
    ui.path = d + "/memoria.mf";
    QVERIFY(WriteFileAtomically(ui.path, "earlier").ok());
    AppSettings settings;
    settings.portName = d + "/tty";
    settings.modelMask = 0x0400;

    QElapsedTimer sinceBar, sincePress;
    QTimer user;
    connect(&user, &QTimer::timeout, [&] {
      WaitWindow* wait = ShownWait();
      if (!wait || !wait->CancelButton() || sincePress.isValid()) return;
      if (wait->Bar()->isHidden() || wait->Bar()->maximum() == 0) return;
      if (!sinceBar.isValid()) sinceBar.start();
      if (sinceBar.elapsed() < pressAfterMs) return;
      ClickThroughTheWindowSystem(&other);
      ClickThroughTheWindowSystem(wait->CancelButton());
      sincePress.start();
    });
    user.start(20);
    MfdOperations(ui, settings).DownloadMf();
    user.stop();
    QCoreApplication::processEvents();

    QVERIFY2(sincePress.isValid(), "no wait window with Cancelar and a bar came up in time");
    QCOMPARE(ui.told, std::vector<std::string>{Str(StrId::kCommandCancelled)});
    QVERIFY2(sincePress.elapsed() < 5000, qPrintable(QString::number(sincePress.elapsed())));
    std::string kept;
    QVERIFY(ReadWholeFile(ui.path, kept).ok());
    QCOMPARE(kept, std::string("earlier"));
    QCOMPARE(otherClicks, 0);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::MfdCancelTest)
#include "mfd_cancel_test.moc"
