#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "app/qt/qt_ui.h"
#include "base/encoding.h"

namespace taloven {

// A log that cannot be written fails on every command: the program says so
// once, not after each one.
class LogFailureMessageTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheFirstFailureOnceForTheWholeRun() {
    QStringList shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown << box->text();
        box->accept();
      }
    });
    closer.start(10);

    const std::string failure =
        W("Não foi possível gravar o log diário /trabalho/log/Log_2026_12_08.txt: Disk full");
    QtUi first;
    first.LogWriteFailed(failure);
    // The results window's own QtUi is another instance of the same run.
    QtUi second;
    second.LogWriteFailed(failure);
    first.LogWriteFailed(failure);
    closer.stop();

    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0], QString::fromUtf8("Não foi possível gravar o log diário "
                                         "/trabalho/log/Log_2026_12_08.txt: Disk full"));
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::LogFailureMessageTest)
#include "log_failure_message_test.moc"
