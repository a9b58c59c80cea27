#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <memory>
#include <optional>

#include "app/model_detection.h"
#include "app/qt/progress_popup.h"
#include "app/qt/qt_ui.h"
#include "app/qt/wait_window.h"
#include "base/encoding.h"
#include "emulator/emulator_process.h"
#include "link/clock.h"
#include "resources/qt/qt_text.h"
#include "sequences/sequence_runner.h"
#include "usb/default_port_factory.h"

namespace taloven {
namespace {

ProgressPopup* ShownPopup() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* popup = qobject_cast<ProgressPopup*>(window);
    if (popup && popup->isVisible()) return popup;
  }
  return nullptr;
}

}  // namespace

// The message boxes the logic raises, as the desktop shows them.
class MessageBoxTest : public QObject {
  Q_OBJECT

  // Runs ask while a timer answers the first message box with No (or OK),
  // pressed from the keyboard; returns the box's title as the desktop gets it.
  static QString TitleOfTheBoxOf(const std::function<void()>& ask) {
    QString title;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->windowHandle()) return;
      title = box->windowHandle()->title();
      box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click() : box->accept();
    });
    closer.start(10);
    ask();
    return title;
  }

 private slots:
  // An empty caption shows none, where Qt would put the program's name.
  void captionsAreShownAsGiven_data() {
    QTest::addColumn<QByteArray>("caption");
    QTest::addColumn<bool>("blank");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << QByteArray() << true << QString();
    QTest::newRow("product") << QByteArray("Taloven") << false << QStringLiteral("Taloven");
    QTest::newRow("accented") << QByteArray("Atenção") << false << QString::fromUtf8("Atenção");
  }

  void captionsAreShownAsGiven() {
    QFETCH(QByteArray, caption);
    QFETCH(bool, blank);
    QFETCH(QString, shown);
    QtUi ui;
    const QString title = TitleOfTheBoxOf([&] {
      ui.Message(W("Confirma exclusão?"), W(caption.toStdString()), MessageButtons::YesNo,
                 MessageIcon::Question);
    });
    if (blank)
      QVERIFY2(title.trimmed().isEmpty(), qPrintable(title));
    else
      QCOMPARE(title, shown);
  }

  // A plain wait window is never above a window that asks something or
  // shows the progress of the same work (it would cover its text and its
  // Cancel): it steps aside while that one is up and comes back after; one
  // made meanwhile waits for it. It lives as long as its work, whatever its
  // close box says, and shows over the modal dialog its work runs under.
  void waitWindowsStepAsideForWhatComesOverThem_data() {
    QTest::addColumn<QString>("over");
    QTest::addColumn<bool>("waitFirst");
    QTest::addColumn<bool>("shownUnder");
    QTest::newRow("question") << "question" << true << false;
    QTest::newRow("progress window") << "progress" << true << false;
    QTest::newRow("made under a progress window") << "progress" << false << false;
    QTest::newRow("after a question over a progress window") << "both" << true << false;
    QTest::newRow("made under the dialog of its work") << "dialog" << false << true;
    QTest::newRow("its close box") << "close" << true << true;
  }

  void waitWindowsStepAsideForWhatComesOverThem() {
    QFETCH(QString, over);
    QFETCH(bool, waitFirst);
    QFETCH(bool, shownUnder);
    QWidget main;
    main.show();
    QDialog dialog(&main);
    QtUi ui(&main);
    std::unique_ptr<WaitHandle> handle;
    QPointer<WaitWindow> wait;
    const auto makeWait = [&] {
      handle = ui.ShowWait(W("Por favor, aguarde....."));
      wait = static_cast<WaitWindowHandle*>(handle.get())->Window();
    };
    if (waitFirst) makeWait();
    std::optional<bool> shownDuring;
    if (over == "question" || over == "dialog") {
      QTimer::singleShot(0, [&] {
        if (!waitFirst) makeWait();
        shownDuring = wait->isVisible();
        QApplication::activeModalWidget()->close();
      });
      if (over == "dialog")
        dialog.exec();
      else
        ui.Message(W("Deseja salvar as alterações?"), "", MessageButtons::YesNo,
                   MessageIcon::Question);
    } else if (over == "progress" || over == "both") {
      auto progress = ui.CreateProgress(W("Executando sequência"), false);
      progress->SetModal(true);
      if (!waitFirst) makeWait();
      if (over == "both") {
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        ui.Message(W("Clique em OK para continuar"), "", MessageButtons::OkCancel,
                   MessageIcon::Question);
      }
      shownDuring = wait->isVisible();
      progress->SetModal(false);
    } else {
      // As the window manager's close box asks it.
      QVERIFY(!wait->windowHandle()->close());
      QCoreApplication::processEvents();
      shownDuring = wait->isVisible();
    }
    QVERIFY(shownDuring.has_value());
    QCOMPARE(*shownDuring, shownUnder);

    QVERIFY2(wait && wait->isVisible(), "the work goes on: its wait window is back");
    handle->Hide();
    QVERIFY(!wait->isVisible());
  }

  // The step-by-step question of a run opens above the run's progress
  // window and is answered from the keyboard; the run then goes on.
  void stepQuestionsAreAboveTheRunAndTakeTheKeyboard() {
    QTemporaryDir directory;
    const std::string link = FromQt(directory.path()) + "/ttyECF";
    emulator::testing::EmulatorProcess printer({"--pty", "--link", link});
    QVERIFY(!printer.Address().empty());
    QMainWindow main;
    main.resize(640, 480);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QDialog sequences(&main);
    QtUi ui(&sequences);
    DefaultPortFactory ports;
    AppSettings settings;
    settings.portName = link;
    settings.workingDirectory = FromQt(directory.path());

    QStringList faults;
    int answered = 0;
    QPointer<QMessageBox> current;
    int tries = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      if (box != current) {
        current = box;
        tries = 0;
        ProgressPopup* popup = ShownPopup();
        const QWindow* handle = box->windowHandle();
        const bool above = popup && handle &&
                           (handle->transientParent() == popup->windowHandle() ||
                            (handle->flags() & Qt::WindowStaysOnTopHint));
        if (!above) faults << "not above the progress window";
        if (!box->isEnabled()) faults << "disabled";
      }
      if (QApplication::activeWindow() == box) QTest::keyClick(box->windowHandle(), Qt::Key_Return);
      if (box->isVisible() && ++tries > 50) {
        faults << "the keyboard did not answer it";
        box->done(QMessageBox::Ok);
      }
      if (!box->isVisible()) ++answered;
    });
    watch.start(20);

    CommandSequence sequence;
    sequence.stepByStep = 1;
    sequence.InsertCommand(BrandModelAndTypeRecord());
    sequence.InsertCommand(BrandModelAndTypeRecord());
    int result = -1;
    QTimer::singleShot(50, &sequences, [&] {
      ExecutionContext context{settings, ui, ports, RealClock()};
      result = RunSequence(sequence, context);
      sequences.reject();
    });
    sequences.exec();
    watch.stop();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(", ")));
    QCOMPARE(answered, 2);
    QCOMPARE(result, int(kExecuteOk));
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::MessageBoxTest)
#include "message_box_test.moc"
