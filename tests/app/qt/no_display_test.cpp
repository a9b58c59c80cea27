#include <QCoreApplication>
#include <QProcess>
#include <QtTest>

// The program started where there is no screen: it says so and how to run
// it anyway, rather than aborting inside Qt.
class NoDisplayTest : public QObject {
  Q_OBJECT

  static QProcessEnvironment WithoutScreen() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      environment.remove(name);
    return environment;
  }

  static QString Program() { return QCoreApplication::applicationDirPath() + "/taloven"; }

 private slots:
  void saysWhatItNeeds_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::newRow("started") << QStringList{} << 1 << "xvfb-run -a ./scripts/run";
    QTest::newRow("with a port") << QStringList{"--port", "COM2:"} << 1
                                 << "xvfb-run -a ./scripts/run";
    QTest::newRow("help needs no screen") << QStringList{"--help"} << 0 << "--port";
    QTest::newRow("version needs no screen") << QStringList{"--version"} << 0 << "1.0.0";
  }

  void saysWhatItNeeds() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);
    QProcess program;
    program.setProcessEnvironment(WithoutScreen());
    program.start(Program(), arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), status);
    const QString said =
        QString::fromUtf8(program.readAllStandardError() + program.readAllStandardOutput());
    QVERIFY2(said.contains(output), qPrintable(said));
  }
};

QTEST_GUILESS_MAIN(NoDisplayTest)
#include "no_display_test.moc"
