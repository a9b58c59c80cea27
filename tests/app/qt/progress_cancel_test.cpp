#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <functional>
#include <optional>

#include "app/model_detection.h"
#include "app/qt/progress_popup.h"
#include "app/qt/qt_ui.h"
#include "base/printer_models.h"
#include "catalogue/qt/command_dialog.h"
#include "emulator/emulator_process.h"
#include "link/clock.h"
#include "link/execute.h"
#include "link/line_timeouts.h"
#include "replies/qt/results_window.h"
#include "resources/qt/qt_text.h"
#include "resources/strings.h"
#include "sequences/sequence_runner.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

using emulator::testing::EmulatorProcess;

enum class Caller { CommandDialog, StartUpDetection, SequenceRunner };
enum class Gesture { CancelButton, Escape };

// Only ports this test serves: the machine's own lines are no part of it.
class LinkOnly : public PortFactory {
 public:
  explicit LinkOnly(std::string link) : link_(std::move(link)) {}
  std::unique_ptr<Port> Create(const std::string& name) override {
    return real_.Create(name == link_ ? name : "/nonexistent/" + name);
  }

 private:
  std::string link_;
  DefaultPortFactory real_;
};

ProgressPopup* ShownPopup() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* popup = qobject_cast<ProgressPopup*>(window);
    if (popup && popup->isVisible()) return popup;
  }
  return nullptr;
}

// The user's gesture as the window system delivers it: to the popup's
// window, where a window blocked by a modal one never sees it.
void Perform(Gesture gesture, ProgressPopup* popup) {
  QWindow* window = popup->windowHandle();
  if (gesture == Gesture::Escape) {
    QTest::keyClick(window, Qt::Key_Escape);
    return;
  }
  QPushButton* cancel = popup->CancelButton();
  const QPoint centre = cancel->mapTo(popup, cancel->rect().center());
  QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre);
}

}  // namespace

class ProgressCancelTest : public QObject {
  Q_OBJECT

 private slots:
  void aWaitingCommandIsCancelledThroughThePopup_data() {
    QTest::addColumn<Caller>("caller");
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<QStringList>("fault");
    // A silent line holds the Cancel for at most one read of a byte, which
    // the line itself bounds; the whole wait would last close to a minute.
    QTest::addColumn<int>("boundMs");
    const QStringList silent{"--fault-no-reply"};
    const QStringList slow{"--fault-slow", "100"};
    const int silentBound = kPerByteMs + kReadConstantMs + 1000;
    QTest::newRow("command dialog, silent printer, Cancel")
        << Caller::CommandDialog << Gesture::CancelButton << silent << silentBound;
    QTest::newRow("command dialog, slow printer, Escape")
        << Caller::CommandDialog << Gesture::Escape << slow << 1000;
    // Detection needs the probe answered; the model query then drags on.
    QTest::newRow("start-up detection, slow printer, Cancel")
        << Caller::StartUpDetection << Gesture::CancelButton << slow << 1000;
    QTest::newRow("start-up detection, slow printer, Escape")
        << Caller::StartUpDetection << Gesture::Escape << slow << 1000;
    // The sequences window is modal; its runner waits between commands.
    QTest::newRow("sequence runner, Cancel")
        << Caller::SequenceRunner << Gesture::CancelButton << QStringList{} << 1000;
    QTest::newRow("sequence runner, Escape")
        << Caller::SequenceRunner << Gesture::Escape << QStringList{} << 1000;
  }

  void aWaitingCommandIsCancelledThroughThePopup() {
    QFETCH(Caller, caller);
    QFETCH(Gesture, gesture);
    QFETCH(QStringList, fault);
    QFETCH(int, boundMs);

    QTemporaryDir directory;
    const std::string link = FromQt(directory.path()) + "/ttyECF";
    std::vector<std::string> arguments{"--pty", "--link", link};
    for (const QString& argument : fault) arguments.push_back(FromQt(argument));
    EmulatorProcess printer(arguments);
    QVERIFY(!printer.Address().empty());

    QMainWindow main;
    main.resize(640, 480);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QtUi ui(&main);
    LinkOnly ports(link);
    AppSettings settings;
    settings.portName = link;
    settings.workingDirectory = FromQt(directory.path());

    // Watches the windows while the wait runs: acts on the popup once, then
    // closes the results window the failure brings up.
    QElapsedTimer sinceGesture;
    std::optional<qint64> endedAfter;
    QTimer watch;
    watch.setInterval(20);
    connect(&watch, &QTimer::timeout, [&] {
      ProgressPopup* popup = ShownPopup();
      if (popup && !sinceGesture.isValid()) {
        sinceGesture.start();
        Perform(gesture, popup);
      }
      if (auto* results = qobject_cast<ResultsWindow*>(QApplication::activeModalWidget())) {
        if (!endedAfter && sinceGesture.isValid()) endedAfter = sinceGesture.elapsed();
        results->reject();
      }
    });
    watch.start();

    if (caller == Caller::CommandDialog) {
      ExecutingSender sender(ExecutionContext{settings, ui, ports, RealClock()});
      CommandDialog dialog(BrandModelAndTypeRecord(), settings, ui, sender, &main);
      QTimer::singleShot(50, &dialog, [&dialog] {
        dialog.findChild<QPushButton*>(QStringLiteral("1038"))->click();
        dialog.reject();  // reached once the send came back
      });
      dialog.exec();
      QVERIFY2(sinceGesture.isValid(), "no progress window came up");
      QCOMPARE(QApplication::activeModalWidget(), nullptr);
      const std::string& shown = dialog.Logic().Record().formattedReturn;
      QVERIFY2(shown.find(Str(StrId::kCommandCancelled)) != std::string::npos, shown.c_str());
    } else if (caller == Caller::SequenceRunner) {
      QDialog sequences(&main);
      QtUi sequencesUi(&sequences);
      CommandSequence sequence;
      sequence.waitMilliseconds = 20000;
      sequence.InsertCommand(BrandModelAndTypeRecord());
      sequence.InsertCommand(BrandModelAndTypeRecord());
      int result = kExecuteOk;
      QTimer::singleShot(50, &sequences, [&] {
        ExecutionContext context{settings, sequencesUi, ports, RealClock()};
        result = RunSequence(sequence, context);
        endedAfter = sinceGesture.elapsed();
        sequences.reject();
      });
      sequences.exec();
      QVERIFY2(sinceGesture.isValid(), "no progress window came up");
      QCOMPARE(result, kSequenceCancelled);
    } else {
      DetectModel(settings, ui, ports, RealClock(), {});
      QVERIFY2(sinceGesture.isValid(), "no progress window came up");
      endedAfter = sinceGesture.elapsed();
      QCOMPARE(settings.portName, link);
      QCOMPARE(settings.modelName, std::string());
      QCOMPARE(settings.modelMask, kUnknownModelMask);
    }
    // The whole reply would take seconds more.
    QVERIFY(endedAfter.has_value());
    QVERIFY2(*endedAfter < boundMs, QByteArray::number(*endedAfter));
    QVERIFY(main.isEnabled());
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::ProgressCancelTest)
#include "progress_cancel_test.moc"
