#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "resources/qt/qt_text.h"
#include "sequences/qt/sequences_window.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/test_clock.h"

namespace taloven {

// "Verificar" stays hidden and disabled as laid out; once a build shows it,
// a click trains or verifies the sequence loaded in the window.
class VerifyButtonTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

 private slots:
  void trainsTheLoadedSequence() {
    QFile file(dir_.filePath("sequencias.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "<?xml version='1.0' encoding='Windows-1252'?><sequencias><sequencia><titulo>CAIXA"
        "</titulo><cmd><tipo>N</tipo><titulo>Sangria</titulo><escape>25</escape></cmd>"
        "</sequencia></sequencias>");
    file.close();
    AppSettings settings;
    settings.workingDirectory = FromQt(dir_.path());
    testing::TestClock clock;
    testing::ScriptedUi ui(&clock);
    testing::ScriptedLine silentPrinter;
    silentPrinter.clock = &clock;
    testing::ScriptedPortFactory ports(silentPrinter);
    SequencesWindow window(settings, ui, ports, clock);
    window.show();

    auto* verify = window.findChild<QPushButton*>(QStringLiteral("1291"));
    QVERIFY(verify);
    QVERIFY(verify->isHidden());
    QVERIFY(!verify->isEnabled());

    window.findChild<QListWidget*>(QStringLiteral("1172"))->setCurrentRow(0);
    verify->setEnabled(true);
    ui.Push(MessageAnswer::Yes);
    verify->click();
    QVERIFY(ui.AllAnswered());
    // The silent printer gave no reading before: the training ends there,
    // said in a message, with nothing run or stored.
    QVERIFY(ui.Results().empty());
    QVERIFY(ui.Prompts().back().text.find("LX1.txt") != std::string::npos);
    QVERIFY(!QFile::exists(dir_.filePath("LX1.txt")));
    QVERIFY(!QFile::exists(dir_.filePath("LX2.txt")));
    QCOMPARE(static_cast<int>(silentPrinter.frames.size()), 1);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::VerifyButtonTest)
#include "verify_button_test.moc"
